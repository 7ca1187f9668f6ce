#include "db/ServerLink.h"

#include "contracts/Errors.h"
#include "db/ConnectionString.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>
#include <sql.h>
#include <sqlext.h>

namespace db {

namespace {

DbKind kindOf(QSqlDriver::DbmsType type, DbKind expected)
{
    switch (type) {
    case QSqlDriver::SQLite: return DbKind::SQLite;
    case QSqlDriver::MSSqlServer: return DbKind::SqlServer;
    case QSqlDriver::Sybase: return DbKind::SqlServer;
    case QSqlDriver::Oracle: return DbKind::Oracle;
    case QSqlDriver::PostgreSQL: return DbKind::PostgreSQL;
    default: return expected;
    }
}

// A driver may quote the connection string back in its message; neither the pairs nor the bare
// password may reach the user.
QString scrubbed(QString text, const QString &password)
{
    text = redactConnectionString(text);
    if (password.size() >= 3)
        text.replace(password, QStringLiteral("***"));
    return text.trimmed();
}

} // namespace

ServerLink::ServerLink(const QString &key, const QString &qtName, const ConnectionTarget &target)
    : m_key(key), m_qtName(qtName)
{
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(target.driver, m_qtName);
        if (!db.isValid()) {
            failure = QStringLiteral("o driver %1 do Qt não está instalado.").arg(target.driver);
        } else {
            db.setDatabaseName(target.databaseName);
            db.setConnectOptions(target.connectOptions);
            if (target.driver != QLatin1String("QODBC")) {
                db.setUserName(target.userName);
                db.setPassword(target.password);
            }
            // The driver's own log-in timeout holds while the server answers something; a silent
            // one (or the statements Qt's driver and psqlODBC run after the log-in) is bounded here.
            const bool server = target.driver == QLatin1String("QODBC");
            const SocketSet before = server ? openSockets() : SocketSet();
            bool opened = false;
            bool expired = false;
            {
                const int bound = server && target.connectTimeout > 0 ? target.connectTimeout * 1000 + kWaitGraceMilliseconds : 0;
                WaitBound wait(before, bound, true);
                opened = db.open();
                expired = wait.expired();
            }
            if (server)
                m_sockets = socketsSince(before);
            if (opened && !expired) {
                m_kind = kindOf(db.driver()->dbmsType(), target.expectedKind);
            } else if (expired) {
                if (opened)
                    cutSockets(m_sockets);
                db.close();
                failure = QStringLiteral("o servidor não respondeu em %1 segundos.").arg(target.connectTimeout);
            } else {
                failure = scrubbed(db.lastError().text(), target.password);
            }
        }
    }
    if (!failure.isNull()) {
        QSqlDatabase::removeDatabase(m_qtName);
        if (failure.isEmpty())
            failure = QStringLiteral("o driver não informou o motivo.");
        throw tkt::Error(QStringLiteral("Não foi possível conectar ao banco de dados: %1").arg(failure));
    }
    m_commandTimeout = target.commandTimeout;
    const QString driverName = odbcDriverName();
    m_runsDirectly = driverName.contains(QLatin1String("psqlodbc"), Qt::CaseInsensitive)
                     || driverName.contains(QLatin1String("tdsodbc"), Qt::CaseInsensitive);
}

ServerLink::~ServerLink()
{
    // Disconnecting frees every statement of the connection, and the server forgets their plans
    // with the session; freeing them one by one first would cost a round trip each (psqlODBC
    // deallocates a prepared statement on the server as its handle is freed).
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_qtName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_qtName);
}

QSqlDatabase ServerLink::database() const
{
    return QSqlDatabase::database(m_qtName, false);
}

void *ServerLink::odbcHandle() const
{
    const QSqlDatabase db = database();
    if (!db.driver() || db.driverName() != QLatin1String("QODBC"))
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != int(sizeof(void *)))
        return nullptr;
    return *static_cast<void *const *>(handle.constData());
}

QString ServerLink::odbcDriverName() const
{
    void *hdbc = odbcHandle();
    if (!hdbc)
        return {};
    SQLWCHAR name[256] = {};
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(hdbc, SQL_DRIVER_NAME, name, SQLSMALLINT(sizeof name), &bytes)))
        return {};
    const qsizetype length = std::min<qsizetype>(bytes / qsizetype(sizeof(SQLWCHAR)), qsizetype(std::size(name)) - 1);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(name), length);
}

void *ServerLink::takeStatement(const QString &sql)
{
    const auto found = m_statements.find(sql);
    if (found == m_statements.end())
        return nullptr;
    void *statement = found.value();
    m_statements.erase(found);
    return statement;
}

void ServerLink::keepStatement(const QString &sql, void *statement)
{
    // The module runs a dozen texts; a caller running ever new texts must not grow the link forever.
    if (m_statements.size() >= kMaxKeptStatements) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return;
    }
    m_statements.insert(sql, statement);
}

void ServerLink::markTimedOut()
{
    m_timedOut = true;
    // Closing the connection may write to the server (a log-out): on a silent network that write
    // must fail at once rather than wait.
    cutSockets(m_sockets);
}

bool ServerLink::reusable() const
{
    if (m_timedOut)
        return false;
    void *hdbc = odbcHandle();
    if (!hdbc || !database().isOpen())
        return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(SQLGetConnectAttr(hdbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE)
        return false;
    // A transaction its owner left open must not become the next owner's.
    SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
    if (!SQL_SUCCEEDED(SQLGetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, &autocommit, 0, nullptr))
        || autocommit != SQL_AUTOCOMMIT_ON)
        return false;
    return true;
}

} // namespace db
