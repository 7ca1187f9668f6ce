#include "db/Connection.h"

#include "contracts/Errors.h"
#include "contracts/Log.h"
#include "db/ConnectionPool.h"
#include "db/Query.h"
#include "db/ServerLink.h"

#include <QThread>
#include <QtGlobal>
#include <atomic>

namespace db {

namespace {

QString uniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tkt_db_%1").arg(++counter);
}

// What a link is opened with, and the thread it belongs to (Qt's connections serve the thread that
// opened them): two owners share a link only when all of it is the same.
QString keyOf(const ConnectionTarget &target)
{
    return QStringList{QString::number(quintptr(QThread::currentThread())), target.driver, target.databaseName,
                       target.userName, target.password, target.connectOptions,
                       QString::number(target.connectTimeout), QString::number(target.commandTimeout)}
        .join(QChar(u'\x1f'));
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    close();
    // Queries may outlive the connection (members are destroyed in reverse order); they must not
    // reach back into it afterwards.
    for (Query *query : std::as_const(m_queries))
        query->m_attached = false;
    m_queries.clear();
}

void Connection::attach(Query *query)
{
    m_queries.append(query);
}

void Connection::detach(Query *query)
{
    m_queries.removeOne(query);
}

void Connection::releaseQueries()
{
    for (Query *query : std::as_const(m_queries))
        query->release();
}

void Connection::openLink(const ConnectionTarget &target)
{
    m_key = keyOf(target);
    m_pooled = target.driver == QLatin1String("QODBC");
    if (m_pooled)
        m_link = ConnectionPool::instance().take(m_key);
    if (m_link) {
        qCDebug(lcDb).noquote() << "took a kept connection" << m_link->qtName() << "for"
                                << redactConnectionString(m_connectionString);
    } else {
        QElapsedTimer timer;
        timer.start();
        m_link = std::make_unique<ServerLink>(m_key, uniqueName(), target);
        qCDebug(lcDb).noquote() << "connected" << m_link->qtName() << "to" << redactConnectionString(m_connectionString)
                                << "in" << tkt::elapsedText(timer);
    }
    m_kind = m_link->kind();
    ++m_generation;
}

void Connection::open()
{
    if (m_link)
        return;
    if (beforeConnect)
        beforeConnect(*this);
    try {
        openLink(mapConnectionString(m_connectionString));
    } catch (const std::exception &e) {
        m_lastFailure = tkt::messageOf(e);
        throw;
    }
    m_lastFailure.clear();
    m_lost = false;
    if (afterConnect)
        afterConnect(*this);
}

void Connection::reopenAfterLoss()
{
    const ConnectionTarget target = mapConnectionString(m_connectionString);
    qCInfo(lcDb).noquote() << "the connection to" << redactConnectionString(m_connectionString)
                           << "was lost; connecting again";
    releaseQueries();
    m_link.reset();
    m_kind = DbKind::Unknown;
    // The kept links of this string went with the same server or network.
    ConnectionPool::instance().discard(keyOf(target));
    m_lost = true;
    openLink(target);
    m_lost = false;
    if (afterConnect)
        afterConnect(*this);
}

void Connection::dropTimedOutLink()
{
    releaseQueries();
    m_link.reset();
    m_kind = DbKind::Unknown;
    m_lost = true;
}

void Connection::close()
{
    m_lost = false;
    releaseQueries();
    if (!m_link)
        return;
    std::unique_ptr<ServerLink> link = std::move(m_link);
    m_kind = DbKind::Unknown;
    qCDebug(lcDb).noquote() << (m_pooled ? "gave back" : "closed") << link->qtName();
    if (m_pooled)
        ConnectionPool::instance().giveBack(std::move(link));
}

bool Connection::connected() const
{
    return m_link != nullptr;
}

QSqlDatabase Connection::database() const
{
    return m_link ? m_link->database() : QSqlDatabase();
}

QString Connection::name() const
{
    return m_link ? m_link->qtName() : QString();
}

bool Connection::sessionPrepared() const
{
    return m_link && m_link->sessionPrepared();
}

void Connection::setSessionPrepared()
{
    if (m_link)
        m_link->setSessionPrepared();
}

} // namespace db
