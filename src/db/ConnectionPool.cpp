#include "db/ConnectionPool.h"

#include <algorithm>

namespace db {

ConnectionPool &ConnectionPool::instance()
{
    // Never destroyed: closing a link after Qt's SQL plugins are gone at process exit would crash;
    // the module drains the pool while they are still loaded.
    static auto *pool = new ConnectionPool;
    return *pool;
}

std::unique_ptr<ServerLink> ConnectionPool::take(const QString &key)
{
    // The newest link first: it is the one least likely to have been dropped by the server.
    for (auto it = m_links.end(); it != m_links.begin();) {
        --it;
        if ((*it)->key() != key)
            continue;
        std::unique_ptr<ServerLink> link = std::move(*it);
        it = m_links.erase(it);
        if (link->idleMilliseconds() > kMaxIdleMilliseconds)
            continue; // freed here; an older one of the same key is older still
        return link;
    }
    return nullptr;
}

void ConnectionPool::giveBack(std::unique_ptr<ServerLink> link)
{
    if (!link || !link->reusable())
        return;
    const QString key = link->key();
    const auto sameKey = std::count_if(m_links.cbegin(), m_links.cend(),
                                       [&](const std::unique_ptr<ServerLink> &kept) { return kept->key() == key; });
    if (sameKey >= kMaxKeptPerKey)
        return;
    link->markIdle();
    m_links.push_back(std::move(link));
}

void ConnectionPool::discard(const QString &key)
{
    std::erase_if(m_links, [&](const std::unique_ptr<ServerLink> &kept) { return kept->key() == key; });
}

void ConnectionPool::drain()
{
    // Taken out before they are freed: a link's destructor must not find itself still listed.
    std::vector<std::unique_ptr<ServerLink>> links = std::move(m_links);
    m_links.clear();
}

} // namespace db
