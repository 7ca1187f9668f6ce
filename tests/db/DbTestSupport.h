#pragma once
// Back ends for the database tests: a fresh SQLite file per test, and a PostgreSQL database of this
// test process (reached through psqlODBC) created on first use and dropped when the tests end.

#include "db/Connection.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace dbtest {

inline QString pgOdbc()
{
    return qEnvironmentVariable("TKT_PG_ODBC");
}

inline QString withDatabase(const QString &odbc, const QString &database)
{
    static const QRegularExpression pair(QStringLiteral("(^|;)\\s*Database\\s*=[^;]*"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString result = odbc;
    result.replace(pair, QStringLiteral("\\1Database=") + database);
    return result;
}

// Runs administrative SQL straight through Qt: the layer under test is not involved.
inline void exec(db::Connection &connection, const QString &sql)
{
    QSqlQuery query(connection.database());
    if (!query.exec(sql))
        throw std::runtime_error((QStringLiteral("setup SQL failed: ") + sql + u'\n' + query.lastError().text()).toStdString());
}

class PgDatabase : public ::testing::Environment {
public:
    static PgDatabase &instance()
    {
        static auto *env = static_cast<PgDatabase *>(::testing::AddGlobalTestEnvironment(new PgDatabase));
        return *env;
    }

    // The ADO string of this process's own database; empty when no server is configured.
    QString connectionString()
    {
        if (pgOdbc().isEmpty())
            return {};
        if (m_name.isEmpty()) {
            const QString name = QStringLiteral("tkt_dbtests_%1").arg(QCoreApplication::applicationPid());
            db::Connection admin;
            admin.setConnectionString(QStringLiteral("Provider=MSDASQL;") + pgOdbc());
            admin.open();
            exec(admin, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            exec(admin, QStringLiteral("CREATE DATABASE %1").arg(name));
            m_name = name;
        }
        return QStringLiteral("Provider=MSDASQL;") + withDatabase(pgOdbc(), m_name);
    }

    void TearDown() override
    {
        if (m_name.isEmpty())
            return;
        db::Connection admin;
        admin.setConnectionString(QStringLiteral("Provider=MSDASQL;") + pgOdbc());
        admin.open();
        exec(admin, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
        m_name.clear();
    }

private:
    QString m_name;
};

enum class Backend { SQLite, PostgreSQL };

inline std::string backendName(const ::testing::TestParamInfo<Backend> &info)
{
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

// Collects Qt's warnings while it lives.
class WarningLog {
public:
    WarningLog() { s_log = &m_messages; s_previous = qInstallMessageHandler(&WarningLog::handle); }
    ~WarningLog() { qInstallMessageHandler(s_previous); s_log = nullptr; }
    QStringList messages() const { return m_messages; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (s_log && type != QtDebugMsg && type != QtInfoMsg)
            s_log->append(text);
    }
    QStringList m_messages;
    static inline QStringList *s_log = nullptr;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace dbtest
