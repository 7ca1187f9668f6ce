#pragma once
// A database connection in the platform's style: a connection string, before- and after-connect
// events, no login prompt, and the database kind learnt at connect time. A server connection runs
// on a link kept by the process's pool: closing it gives the link back for the next owner with the
// same string, and opening takes one back when there is one.

#include "db/ConnectionString.h"
#include "db/DbKind.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <memory>

namespace db {

class Query;
class ServerLink;

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setConnectionString(const QString &s) { m_connectionString = s; }
    QString connectionString() const { return m_connectionString; }

    std::function<void(Connection &)> beforeConnect; // may set the connection string
    std::function<void(Connection &)> afterConnect;

    // Opens the connection: beforeConnect, map the string, take a kept link or open one, learn the
    // kind, afterConnect. Throws tkt::Error with the driver's text (never a password) when it
    // cannot be opened. Opening an open connection does nothing.
    void open();
    // Closes every query running on it first, then gives its link back to the pool (a server's) or
    // closes it (an embedded database's). Never throws.
    void close();
    bool connected() const;

    DbKind kind() const { return m_kind; }
    QSqlDatabase database() const; // the Qt handle; valid once opened
    QString name() const;          // the Qt connection name of the open link

    // Increments whenever the connection is (re)opened; prepared queries re-prepare when it changed.
    int generation() const { return m_generation; }

    // The link under the open connection; null when closed.
    ServerLink *link() const { return m_link.get(); }
    // Whether the open link came from the pool, its session already prepared by an earlier owner.
    bool sessionPrepared() const;
    void setSessionPrepared();

    // After a statement failed because the link died: the link and every kept link of the same
    // string are dropped, and a fresh link is opened with the same string and prepared as a new
    // one is. Queries prepare again. Throws tkt::Error when no new link can be opened.
    void reopenAfterLoss();
    // A wait on the link ran out: the link is closed, never kept, and the next query opens a
    // fresh one (reopenAfterLoss).
    void dropTimedOutLink();
    // The link died and no fresh one could be opened yet: the next query tries again.
    bool lostLink() const { return m_lost; }
    // Why the last open failed; empty once an open succeeded.
    QString lastFailure() const { return m_lastFailure; }

private:
    friend class Query;
    void attach(Query *query);
    void detach(Query *query);
    void openLink(const ConnectionTarget &target);
    void releaseQueries();

    QString m_connectionString;
    QString m_key;
    DbKind m_kind = DbKind::Unknown;
    int m_generation = 0;
    std::unique_ptr<ServerLink> m_link;
    QString m_lastFailure;
    bool m_lost = false;
    bool m_pooled = false;       // the link goes back to the pool when the connection closes
    QList<Query *> m_queries; // the queries built on this connection, released before it closes
};

} // namespace db
