#include "db/Connection.h"

#include "contracts/Errors.h"
#include "db/Query.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QtGlobal>
#include <atomic>

namespace db {

namespace {

QString uniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tkt_db_%1").arg(++counter);
}

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

Connection::Connection(QString name) : m_name(name.isEmpty() ? uniqueName() : std::move(name)) {}

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

void Connection::open()
{
    if (m_open)
        return;
    if (beforeConnect)
        beforeConnect(*this);
    const ConnectionTarget target = mapConnectionString(m_connectionString);

    DbKind kind = target.expectedKind;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(target.driver, m_name);
        if (!db.isValid()) {
            failure = QStringLiteral("o driver %1 do Qt não está instalado.").arg(target.driver);
        } else {
            db.setDatabaseName(target.databaseName);
            db.setConnectOptions(target.connectOptions);
            if (target.driver != QLatin1String("QODBC")) {
                db.setUserName(target.userName);
                db.setPassword(target.password);
            }
            if (db.open())
                kind = kindOf(db.driver()->dbmsType(), target.expectedKind);
            else
                failure = scrubbed(db.lastError().text(), target.password);
        }
    }
    if (!failure.isNull()) {
        QSqlDatabase::removeDatabase(m_name);
        if (failure.isEmpty())
            failure = QStringLiteral("o driver não informou o motivo.");
        throw tkt::Error(QStringLiteral("Não foi possível conectar ao banco de dados: %1").arg(failure));
    }
    m_kind = kind;
    m_open = true;
    ++m_generation;
    if (afterConnect)
        afterConnect(*this);
}

void Connection::close()
{
    for (Query *query : std::as_const(m_queries))
        query->release();
    if (!m_open)
        return;
    m_open = false;
    m_kind = DbKind::Unknown;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::connected() const
{
    return m_open;
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

} // namespace db
