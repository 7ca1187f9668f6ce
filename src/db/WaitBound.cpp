#include "db/WaitBound.h"

#include <chrono>

#ifdef __linux__
#include <dirent.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>
#endif

namespace db {

namespace {

#ifdef __linux__
// Every socket descriptor of this process with its inode.
std::vector<std::pair<int, unsigned long>> socketDescriptors()
{
    std::vector<std::pair<int, unsigned long>> found;
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return found;
    const int own = dirfd(dir);
    while (dirent *entry = readdir(dir)) {
        char *end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == own)
            continue;
        char path[64];
        char target[64] = {};
        std::snprintf(path, sizeof path, "/proc/self/fd/%ld", fd);
        const ssize_t length = readlink(path, target, sizeof target - 1);
        unsigned long inode = 0;
        if (length > 0 && std::sscanf(target, "socket:[%lu]", &inode) == 1)
            found.emplace_back(int(fd), inode);
    }
    closedir(dir);
    return found;
}
#endif

} // namespace

SocketSet openSockets()
{
    SocketSet sockets;
#ifdef __linux__
    for (const auto &[fd, inode] : socketDescriptors())
        sockets.insert(inode);
#endif
    return sockets;
}

SocketSet socketsSince(const SocketSet &before)
{
    SocketSet added;
    for (unsigned long inode : openSockets())
        if (!before.count(inode))
            added.insert(inode);
    return added;
}

void cutSockets(const SocketSet &sockets)
{
#ifdef __linux__
    for (const auto &[fd, inode] : socketDescriptors())
        if (sockets.count(inode))
            shutdown(fd, SHUT_RDWR);
#else
    (void)sockets;
#endif
}

tkt::Timeout serverDidNotAnswer(int seconds)
{
    return tkt::Timeout(tkt::shownText("ServerWait", "O servidor do banco de dados da loja não respondeu em %1 "
                                                     "segundos. Tente novamente.")
                            .arg(QString::number(seconds)));
}

WaitBound::WaitBound(SocketSet sockets, int milliseconds, bool noneBefore)
    : m_sockets(std::move(sockets)), m_newOnly(noneBefore)
{
    if (milliseconds > 0)
        m_watcher = std::thread([this, milliseconds] { watch(milliseconds); });
}

WaitBound::~WaitBound()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_over.notify_all();
    if (m_watcher.joinable())
        m_watcher.join();
}

bool WaitBound::expired() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_expired;
}

void WaitBound::watch(int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_over.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_done; }))
        return;
    m_expired = true;
    cut();
}

void WaitBound::cut()
{
    cutSockets(m_newOnly ? socketsSince(m_sockets) : m_sockets);
}

} // namespace db
