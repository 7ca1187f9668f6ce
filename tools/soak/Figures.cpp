#include "Figures.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <dirent.h>
#include <unistd.h>

namespace soak {

namespace {

qint64 residentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
            bool ok = false;
            const qint64 kib = parts.value(0).toLongLong(&ok);
            return ok ? kib : -1;
        }
    }
    return -1;
}

// Read with readdir rather than QDir: the count must not change by the descriptor that reads it,
// which is open while either counts, so it is counted once and taken off.
qint64 descriptorsAndSockets(QSet<QByteArray> *socketInodes)
{
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    const int own = dirfd(dir);
    qint64 count = 0;
    char target[128];
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (QByteArray(entry->d_name).toInt() == own)
            continue;
        ++count;
        if (!socketInodes)
            continue;
        const QByteArray link = QByteArrayLiteral("/proc/self/fd/") + entry->d_name;
        const ssize_t n = readlink(link.constData(), target, sizeof target - 1);
        if (n > 0) {
            const QByteArray text(target, n);
            if (text.startsWith("socket:[") && text.endsWith(']'))
                socketInodes->insert(text.mid(8, text.size() - 9));
        }
    }
    closedir(dir);
    return count;
}

// This process's established connections to the port. /proc/self/net/tcp lists the whole network
// namespace (other programs' connections too), so a line counts only when its inode is one of this
// process's descriptors.
QSet<QByteArray> establishedTo(int port, const QSet<QByteArray> &socketInodes)
{
    QSet<QByteArray> found;
    for (const char *table : {"/proc/self/net/tcp", "/proc/self/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            // sl local_address rem_address st tx_queue:rx_queue tr:tm->when retrnsmt uid timeout inode
            const QList<QByteArray> f = lines.at(i).simplified().split(' ');
            if (f.size() < 10)
                continue;
            const QByteArray remote = f.at(2);
            const qsizetype colon = remote.lastIndexOf(':');
            bool ok = false;
            const int remotePort = remote.mid(colon + 1).toInt(&ok, 16);
            if (ok && remotePort == port && f.at(3) == "01" && socketInodes.contains(f.at(9)))
                found.insert(f.at(9));
        }
    }
    return found;
}

} // namespace

Figures processFigures(int serverPort, const QSet<QByteArray> &notCounted)
{
    Figures figures;
    figures.rssKib = residentKib();
    QSet<QByteArray> sockets;
    figures.fds = descriptorsAndSockets(serverPort > 0 ? &sockets : nullptr);
    if (serverPort > 0)
        figures.pgSockets = establishedTo(serverPort, sockets).subtract(notCounted).size();
    return figures;
}

QSet<QByteArray> socketsTo(int port)
{
    QSet<QByteArray> sockets;
    descriptorsAndSockets(&sockets);
    return establishedTo(port, sockets);
}

int portOfOdbc(const QString &odbc)
{
    static const QRegularExpression port(QStringLiteral("(?:^|;)\\s*Port\\s*=\\s*(\\d+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = port.match(odbc);
    return m.hasMatch() ? m.captured(1).toInt() : 5432;
}

ServerSessions::~ServerSessions()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool ServerSessions::open(const QString &odbc, int port, QString *error)
{
    const QSet<QByteArray> before = socketsTo(port);
    m_name = QStringLiteral("tkt_soak_monitor_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    db.setDatabaseName(odbc);
    if (!db.open()) {
        *error = QStringLiteral("The monitor connection to the server failed: %1").arg(db.lastError().text());
        return false;
    }
    m_sockets = socketsTo(port).subtract(before);
    return true;
}

qint64 ServerSessions::count()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen())
        return -1;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity "
                                   "WHERE datname = current_database() AND pid <> pg_backend_pid()"))
        || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

} // namespace soak
