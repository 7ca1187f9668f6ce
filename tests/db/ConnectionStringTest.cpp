#include <QRegularExpression>
#include "QStringPrinter.h"
#include "contracts/Errors.h"
#include "db/ConnectionString.h"

#include <gtest/gtest.h>

using db::ConnectionTarget;
using db::DbKind;
using db::mapConnectionString;
using db::redactConnectionString;

namespace {

const QString kOdbc3 = QStringLiteral("SQL_ATTR_ODBC_VERSION=SQL_OV_ODBC3");

struct Mapping {
    const char *ado;
    const char *driver;
    const char *databaseName;
    DbKind kind;
};

class ConnectionStringMapping : public ::testing::TestWithParam<Mapping> {};

TEST_P(ConnectionStringMapping, mapsOntoDriverAndString)
{
    const Mapping &m = GetParam();
    const ConnectionTarget t = mapConnectionString(QString::fromUtf8(m.ado));
    EXPECT_EQ(t.driver, QLatin1String(m.driver));
    EXPECT_EQ(t.databaseName, QString::fromUtf8(m.databaseName));
    EXPECT_EQ(t.expectedKind, m.kind);
    if (t.driver == QLatin1String("QODBC")) {
        EXPECT_TRUE(t.connectOptions.startsWith(kOdbc3)) << t.connectOptions.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Providers, ConnectionStringMapping,
    ::testing::Values(
        Mapping{"Provider=SQLite;Data Source=/var/lib/pos/loja.db", "QSQLITE", "/var/lib/pos/loja.db", DbKind::SQLite},
        Mapping{" provider = sqlite ; data source = \"/tmp/with space; and semicolon.db\" ", "QSQLITE",
                "/tmp/with space; and semicolon.db", DbKind::SQLite},
        Mapping{"Provider=SQLOLEDB.1;Data Source=srv01,1433;Initial Catalog=LOJA;User ID=sa;Password=segredo",
                "QODBC",
                "Driver={FreeTDS};Server=srv01,1433;Database=LOJA;UID=sa;PWD=segredo;ClientCharset=UTF-8;",
                DbKind::SqlServer},
        Mapping{"Data Source=srv01\\SQLEXPRESS;Initial Catalog=LOJA;User ID=sa;Password=x", "QODBC",
                "Driver={FreeTDS};Server=srv01\\SQLEXPRESS;Database=LOJA;UID=sa;PWD=x;ClientCharset=UTF-8;",
                DbKind::SqlServer},
        Mapping{"Provider=SQLNCLI11;Server=srv;Database=LOJA;Integrated Security=SSPI", "QODBC",
                "Driver={FreeTDS};Server=srv;Database=LOJA;Trusted_Connection=Yes;ClientCharset=UTF-8;",
                DbKind::SqlServer},
        Mapping{"Provider=MSOLEDBSQL;Data Source=srv;Initial Catalog=LOJA;Driver={ODBC Driver 18 for SQL Server};"
                "UID=u;PWD='a;b''c'",
                "QODBC", "Driver={ODBC Driver 18 for SQL Server};Server=srv;Database=LOJA;UID=u;PWD={a;b'c};",
                DbKind::SqlServer},
        Mapping{"Provider=SQLNCLI;Data Source=srv;User ID=u;Password={p}}w}", "QODBC",
                "Driver={FreeTDS};Server=srv;UID=u;PWD={p}}w};ClientCharset=UTF-8;", DbKind::SqlServer},
        Mapping{"Provider=MSDAORA.1;Data Source=ORCL;User ID=scott;Password=tiger", "QODBC",
                "Driver={Oracle};DBQ=ORCL;UID=scott;PWD=tiger;", DbKind::Oracle},
        Mapping{"Provider=OraOLEDB.Oracle;Data Source=//db:1521/XE;User ID=s;Password=t;Driver=Oracle 21 ODBC driver",
                "QODBC", "Driver={Oracle 21 ODBC driver};DBQ=//db:1521/XE;UID=s;PWD=t;", DbKind::Oracle},
        Mapping{"Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=tkt;Uid=tkt;Pwd=tkt",
                "QODBC", "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=tkt;Uid=tkt;Pwd=tkt;",
                DbKind::PostgreSQL},
        Mapping{"Provider=MSDASQL.1;Data Source=LOJA_DSN;User ID=u;Password=p", "QODBC", "LOJA_DSN;UID=u;PWD=p;",
                DbKind::Unknown}));

TEST(ConnectionString, credentialsAreReportedApart)
{
    const ConnectionTarget t = mapConnectionString(
        QStringLiteral("Provider=SQLOLEDB.1;Data Source=s;User ID=caixa;Password=\"x;y\""));
    EXPECT_EQ(t.userName, QLatin1String("caixa"));
    EXPECT_EQ(t.password, QLatin1String("x;y"));
    const ConnectionTarget pg = mapConnectionString(
        QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=h;Uid=a;Pwd={p;q}"));
    EXPECT_EQ(pg.password, QLatin1String("p;q"));
}

TEST(ConnectionString, loginTimeoutBecomesAnOdbcOption)
{
    const ConnectionTarget t = mapConnectionString(QStringLiteral("Data Source=s;Connect Timeout=7"));
    EXPECT_EQ(t.connectOptions, kOdbc3 + QStringLiteral(";SQL_ATTR_LOGIN_TIMEOUT=7"));
}

// How long the module waits: both keys on every provider, the defaults of the ADO components, never
// handed to the driver as attributes of its own, and a value that is no number of seconds refused.
TEST(ConnectionString, waitsComeFromConnectAndCommandTimeout)
{
    struct Case {
        const char *text;
        int connect, command;
    };
    const Case cases[] = {
        {"Data Source=s", 15, 30},
        {"Data Source=s;Connection Timeout=4;Command Timeout=0", 4, 0},
        {"Provider=SQLite;Data Source=x.db;Command Timeout=2", 15, 2},
        {"Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=h;Command Timeout=9;Connect Timeout=3", 3, 9},
    };
    for (const Case &c : cases) {
        const ConnectionTarget t = mapConnectionString(QLatin1String(c.text));
        EXPECT_EQ(t.connectTimeout, c.connect) << c.text;
        EXPECT_EQ(t.commandTimeout, c.command) << c.text;
        EXPECT_FALSE(t.databaseName.contains(QLatin1String("Timeout"), Qt::CaseInsensitive)) << c.text;
    }
    EXPECT_TRUE(mapConnectionString(QStringLiteral("Provider=SQLite;Data Source=x.db;Command Timeout=2"))
                    .connectOptions.contains(QLatin1String("QSQLITE_BUSY_TIMEOUT=2000")));
    for (const char *bad : {"Data Source=s;Command Timeout=ten", "Data Source=s;Connect Timeout=-1"})
        EXPECT_THROW(mapConnectionString(QLatin1String(bad)), tkt::Error) << bad;
}

TEST(ConnectionString, refusesWhatItCannotMap)
{
    try {
        mapConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb;Password=segredo"));
        FAIL() << "an unknown provider was accepted";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("Microsoft.Jet.OLEDB.4.0")));
        EXPECT_FALSE(e.message().contains(QLatin1String("segredo")));
    }
    EXPECT_THROW(mapConnectionString(QStringLiteral("Provider=SQLite")), tkt::Error);
    EXPECT_THROW(mapConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=LOJA")), tkt::Error);
    EXPECT_THROW(mapConnectionString(QStringLiteral("Provider=SQLite;Data Source=\"x.db")), tkt::Error);
    EXPECT_THROW(mapConnectionString(QStringLiteral("Provider=SQLite;Data Source")), tkt::Error);
    EXPECT_THROW(mapConnectionString(QStringLiteral("Provider=MSDASQL")), tkt::Error);
}

TEST(ConnectionString, redactionHidesWhatTheParserTakesForThePassword)
{
    // Found by fuzzing: a non-breaking space before "=" and a line break inside the value.
    const QString cases[] = {
        QStringLiteral("Provider=SQLOLEDB.1;Data Source=s;User ID=sa;Password\u00A0=segredo"),
        QStringLiteral("Provider=SQLOLEDB.1;Data Source=s;User ID=sa;Password=se\ngredo"),
        QStringLiteral("Provider=SQLOLEDB.1;Data Source=s;User ID=sa;Pwd=\u2003segredo\r\n;Server=x"),
    };
    for (const QString &text : cases) {
        const QString password = db::mapConnectionString(text).password;
        ASSERT_FALSE(password.isEmpty()) << text.toStdString();
        const QString redacted = redactConnectionString(text);
        EXPECT_EQ(db::mapConnectionString(redacted).password, QStringLiteral("***")) << redacted.toStdString();
        for (const QString &piece : password.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            if (piece.size() >= 4) // shorter ones occur in ordinary words ("se" in "User")
                EXPECT_FALSE(redacted.contains(piece)) << redacted.toStdString();
    }
}

TEST(ConnectionString, redactionHidesEveryPasswordForm)
{
    const QString redacted = redactConnectionString(QStringLiteral(
        "User ID=sa;Password=abc123;PWD={x;y}}z};pwd = \"q;\"\"r\";Password='s;t';Server=h"));
    EXPECT_EQ(redacted, QStringLiteral("User ID=sa;Password=***;PWD=***;pwd = ***;Password=***;Server=h"));
    for (const char *secret : {"abc123", "x;y", "q;", "s;t", "}z"})
        EXPECT_FALSE(redacted.contains(QLatin1String(secret))) << secret;
    EXPECT_EQ(redactConnectionString(QStringLiteral("login failed for PWD=hunter2")),
              QStringLiteral("login failed for PWD=***"));
}

} // namespace
