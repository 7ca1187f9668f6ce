#include "dialog_validation/ValidationSupport.h"

#include "contracts/Errors.h"
#include "db/Connection.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace validation {

QString consumer(int shortCode)
{
    return QString::number(shortCode).rightJustified(21, QLatin1Char('0'));
}

namespace {

void run(const QString &connectionString, const QString &sql, const QStringList &values)
{
    db::Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    {
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            throw tkt::Error(query.lastError().text());
        for (const QString &value : values)
            query.addBindValue(value.isNull() ? QVariant() : QVariant(value));
        if (!query.exec())
            throw tkt::Error(query.lastError().text());
    }
    connection.close();
}

} // namespace

void insertConsumer(const QString &connectionString, const NewConsumer &c)
{
    run(connectionString,
        "INSERT INTO CONSUMIDOR (CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDSITCONSUMI, CDIDCONSUMID, CDEXCONSUMID) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        {c.client, c.code, c.name, c.situation, c.badge, c.external});
}

void deleteConsumer(const QString &connectionString, const QString &client, const QString &code)
{
    run(connectionString, "DELETE FROM CONSUMIDOR WHERE CDCLIENTE = ? AND CDCONSUMIDOR = ?", {client, code});
}

ServerLog::ServerLog(const QString &connectionString)
{
    m_path = qEnvironmentVariable("TKT_PG_LOG");
    const auto match = QRegularExpression("Database=([^;]+)", QRegularExpression::CaseInsensitiveOption)
                           .match(connectionString);
    if (!match.hasMatch())
        m_path.clear();
    m_database = match.captured(1);
    mark();
}

void ServerLog::mark()
{
    QFile file(m_path);
    m_offset = file.exists() ? file.size() : 0;
}

QStringList ServerLog::linesSinceMark() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    file.seek(m_offset);
    // log_line_prefix is "%m [%p] %d ": time stamp (date and time), process, database.
    const QRegularExpression prefix("^\\S+ \\S+ \\S+ \\[\\d+\\] (\\S*) ");
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const auto m = prefix.match(line);
        if (m.hasMatch() && m.captured(1) == m_database)
            lines << line;
    }
    return lines;
}

} // namespace validation
