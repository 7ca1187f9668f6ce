// Where the connection string comes from, and the session set-up on the databases we can run here.
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"
#include "db/Connection.h"
#include "shared_services/StandIn.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Sets or clears TKT_CONNECTION_STRING for one test and puts the old value back.
class ConnectionStringEnv {
public:
    explicit ConnectionStringEnv(const QByteArray &value)
        : m_had(qEnvironmentVariableIsSet(kName)), m_old(qgetenv(kName))
    {
        if (value.isNull())
            qunsetenv(kName);
        else
            qputenv(kName, value);
    }
    ~ConnectionStringEnv()
    {
        if (m_had)
            qputenv(kName, m_old);
        else
            qunsetenv(kName);
    }

private:
    static constexpr const char *kName = "TKT_CONNECTION_STRING";
    bool m_had;
    QByteArray m_old;
};

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(GetStringConexQor, DefaultsToTheDemoDatabaseBesideTheProgram)
{
    ConnectionStringEnv env{QByteArray()};
    QTemporaryDir dir;
    EXPECT_EQ(sharedservices::connectionStringFor(dir.path()),
              QStringLiteral("Provider=SQLite;Data Source=%1").arg(QDir(dir.path()).filePath(QStringLiteral("demo.db"))));
}

TEST(GetStringConexQor, TheSettingsFileGivesItsFirstNonEmptyLine)
{
    ConnectionStringEnv env{QByteArray()};
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("tkt00740.conn")),
              "\xef\xbb\xbf\r\n   \r\n  Provider=SQLOLEDB.1;Data Source=loja;Password=ção  \r\nProvider=SQLite;Data Source=x\r\n");
    EXPECT_EQ(sharedservices::connectionStringFor(dir.path()),
              QStringLiteral("Provider=SQLOLEDB.1;Data Source=loja;Password=ção"));

    writeFile(dir.filePath(QStringLiteral("tkt00740.conn")), "\n \n");
    EXPECT_TRUE(sharedservices::connectionStringFor(dir.path()).startsWith(QStringLiteral("Provider=SQLite;")));
}

TEST(GetStringConexQor, TheEnvironmentComesFirstUnlessItIsBlank)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("tkt00740.conn")), "Provider=SQLite;Data Source=do_arquivo.db\n");
    {
        ConnectionStringEnv env{QByteArrayLiteral("Provider=SQLite;Data Source=do_ambiente.db")};
        EXPECT_EQ(sharedservices::connectionStringFor(dir.path()),
                  QStringLiteral("Provider=SQLite;Data Source=do_ambiente.db"));
        EXPECT_EQ(contracts::_GetStringConexQor(QString()), QStringLiteral("Provider=SQLite;Data Source=do_ambiente.db"));
    }
    ConnectionStringEnv blank{QByteArrayLiteral("  ")};
    EXPECT_EQ(sharedservices::connectionStringFor(dir.path()), QStringLiteral("Provider=SQLite;Data Source=do_arquivo.db"));
}

QString scalar(db::Connection &connection, const QString &sql)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<%1 failed>").arg(sql);
    return query.value(0).toString();
}

TEST(SetADODBSession, SQLiteEnforcesForeignKeysAndWaitsForLocks)
{
    QTemporaryDir dir;
    db::Connection connection;
    connection.setConnectionString(
        QStringLiteral("Provider=SQLite;Data Source=%1").arg(dir.filePath(QStringLiteral("s.db"))));
    connection.open();
    ASSERT_EQ(connection.kind(), db::DbKind::SQLite);

    contracts::SetADODBSession(connection);

    EXPECT_EQ(scalar(connection, QStringLiteral("PRAGMA foreign_keys")), QStringLiteral("1"));
    EXPECT_EQ(scalar(connection, QStringLiteral("PRAGMA busy_timeout")), QStringLiteral("5000"));
}

TEST(SetADODBSession, AClosedConnectionIsAnError)
{
    db::Connection connection;
    EXPECT_THROW(contracts::SetADODBSession(connection), tkt::Error);
}

TEST(SetADODBSession, PostgreSQLTalksUtf8)
{
    const QString odbc = qEnvironmentVariable("TKT_PG_ODBC");
    if (odbc.isEmpty())
        GTEST_SKIP() << "TKT_PG_ODBC is not set";
    db::Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=MSDASQL;") + odbc);
    connection.open();
    ASSERT_EQ(connection.kind(), db::DbKind::PostgreSQL);

    contracts::SetADODBSession(connection);

    EXPECT_EQ(scalar(connection, QStringLiteral("SHOW client_encoding")), QStringLiteral("UTF8"));
    EXPECT_EQ(scalar(connection, QStringLiteral("SELECT 'Informações'")), QStringLiteral("Informações"));
}

} // namespace
