#pragma once
// One physical connection to a server database, opened by Qt's ODBC driver, with the statements
// prepared on it. A link outlives the db::Connection that used it: the pool keeps it for the next
// owner that asks for the same connection string, so that a new comanda dialog neither logs in
// again nor prepares its statements again.

#include "db/DbKind.h"
#include "db/WaitBound.h"

#include <QElapsedTimer>
#include <QMultiHash>
#include <QSqlDatabase>
#include <QString>

namespace db {

struct ConnectionTarget;

class ServerLink {
public:
    // Opens the Qt connection named qtName; throws tkt::Error with the driver's text (passwords
    // left out) when it cannot be opened.
    ServerLink(const QString &key, const QString &qtName, const ConnectionTarget &target);
    ~ServerLink(); // frees its statements, then closes and removes the Qt connection
    ServerLink(const ServerLink &) = delete;
    ServerLink &operator=(const ServerLink &) = delete;

    const QString &key() const { return m_key; }
    const QString &qtName() const { return m_qtName; }
    DbKind kind() const { return m_kind; }
    QSqlDatabase database() const;
    void *odbcHandle() const; // the SQLHDBC Qt's driver opened; null when the driver is not ODBC
    QString odbcDriverName() const; // the ODBC driver's file name ("psqlodbcw.so"); empty when not ODBC

    // Whether statements are sent whole on every run rather than prepared once. psqlODBC runs a
    // prepared statement's first execution in three round trips (parse, describe, then bind and
    // execute) where a direct one, with its parameters still bound, takes one; a dialog on a
    // fresh connection runs half a dozen statements once each. FreeTDS prepares anew whenever a
    // parameter is bound again, which the cursor does on every run: an unprepare and an
    // sp_prepexec, two round trips, where a direct run is one sp_executesql (the server keeps its
    // plan all the same). Microsoft's driver defers the prepare to the first execution and
    // Oracle's prepares in the client, so statements are prepared once there.
    bool runsStatementsDirectly() const { return m_runsDirectly; }

    // The session set-up of the shared services ran on this link: a later owner need not repeat it.
    bool sessionPrepared() const { return m_sessionPrepared; }
    void setSessionPrepared() { m_sessionPrepared = true; }

    // A statement handle prepared earlier with this text and given back; null when there is none.
    void *takeStatement(const QString &sql);
    // Keeps a prepared statement handle for the next query with the same text; the link frees it.
    void keepStatement(const QString &sql, void *statement);
    static constexpr qsizetype kMaxKeptStatements = 64;

    // Whether the link can go back to the pool: no wait on it ran out, its driver still thinks it
    // is connected and no transaction was left open on it.
    bool reusable() const;

    // Seconds a statement on this link may take (the connection string's Command Timeout; 0: no
    // limit), and the sockets it talks to its server on, which a wait that runs out cuts.
    int commandTimeout() const { return m_commandTimeout; }
    const SocketSet &sockets() const { return m_sockets; }
    // A wait on the link ran out: it is never handed to anyone again, and nothing of it may block
    // when it is closed.
    void markTimedOut();
    qint64 idleMilliseconds() const { return m_idle.isValid() ? m_idle.elapsed() : 0; }
    void markIdle() { m_idle.start(); }

private:
    QString m_key;
    QString m_qtName;
    DbKind m_kind = DbKind::Unknown;
    bool m_sessionPrepared = false;
    bool m_runsDirectly = false;
    bool m_timedOut = false;
    int m_commandTimeout = 0;
    SocketSet m_sockets;
    QMultiHash<QString, void *> m_statements;
    QElapsedTimer m_idle;
};

} // namespace db
