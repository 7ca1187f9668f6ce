#pragma once
// What a long-running host would watch grow: its resident memory, its open file descriptors and,
// on a server database, the connections it holds.

#include <QByteArray>
#include <QSet>
#include <QString>

namespace soak {

struct Figures {
    qint64 rssKib = -1;     // VmRSS of /proc/self/status
    qint64 fds = -1;        // entries of /proc/self/fd
    qint64 pgSessions = -1; // other sessions on the database (pg_stat_activity); -1 off PostgreSQL
    qint64 pgSockets = -1;  // this process's established TCP connections to the server's port
};

// Reads this process's own figures. serverPort 0 leaves the socket count out; sockets in notCounted
// (by inode) are left out of it.
Figures processFigures(int serverPort, const QSet<QByteArray> &notCounted = {});

// Inodes of this process's established TCP connections to the port.
QSet<QByteArray> socketsTo(int port);

// The port named in an ODBC connection string (Port=...), else PostgreSQL's 5432.
int portOfOdbc(const QString &odbc);

// A connection of its own to the server, only to count the others there: the count comes from
// the server, so it also sees connections the client side has forgotten but not closed.
class ServerSessions {
public:
    ServerSessions() = default;
    ~ServerSessions();
    ServerSessions(const ServerSessions &) = delete;
    ServerSessions &operator=(const ServerSessions &) = delete;

    // port: the server's, to tell this connection's socket from the module's.
    bool open(const QString &odbc, int port, QString *error);
    // Sessions on the same database other than this one; -1 when the count failed.
    qint64 count();
    // This connection's own sockets, which are no connection of the module's.
    const QSet<QByteArray> &sockets() const { return m_sockets; }

private:
    QString m_name;
    QSet<QByteArray> m_sockets;
};

} // namespace soak
