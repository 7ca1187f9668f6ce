// make_demo as a user runs it: the folder it fills, the files the module reads from it, a second run
// over an old demo, and its answers to wrong use.

#include "contracts/Errors.h"
#include "dataset/Table.h"
#include "db/Connection.h"
#include "db/ConnectionPool.h"
#include "schema/DemoFiles.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome makeDemo(const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(TKT_MAKE_DEMO), arguments);
    if (!process.waitForFinished(120000))
        throw tkt::Error(QStringLiteral("make_demo did not finish: %1").arg(process.errorString()));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

int waiterCount(const QString &connectionString)
{
    db::Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM VENDEDOR")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

QStringList fieldNames(const dataset::Table &table)
{
    QStringList names;
    for (const dataset::Field &f : table.fields())
        names.append(f.name);
    return names;
}

} // namespace

TEST(MakeDemo, FillsTheFolderWithTheDatabaseAndTheModulesFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("pos host"));

    // An old demo.db that is not even a database is replaced, not reused.
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        QFile old(QDir(folder).filePath(QStringLiteral("demo.db")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("left over from an older demo");
    }
    const Outcome outcome = makeDemo({folder});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();

    db::Connection connection;
    connection.setConnectionString(schema::sqliteConnectionString(QDir(folder).filePath(QStringLiteral("demo.db"))));
    connection.open();
    EXPECT_EQ(connection.kind(), db::DbKind::SQLite);
    connection.close();
    EXPECT_EQ(waiterCount(schema::sqliteConnectionString(QDir(folder).filePath(QStringLiteral("demo.db")))), 12);

    dataset::Table parameters;
    parameters.loadFromFile(QDir(folder).filePath(QStringLiteral("PARAMETROSQOR.CDS")));
    ASSERT_EQ(parameters.recordCount(), 1);
    EXPECT_EQ(fieldNames(parameters),
              (QStringList{QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("CDCAIXA"),
                           QStringLiteral("IDESQUEMA"), QStringLiteral("IDUTLSENHAOPER"), QStringLiteral("CDCCUSCLIE"),
                           QStringLiteral("IDPERVENCONINAT"), QStringLiteral("IDCONSCAMPFIDEL"),
                           QStringLiteral("IDEXCONSATFIL"), QStringLiteral("IDEXCONSATGER"),
                           QStringLiteral("UTILIZAIMPFIS")}));
    EXPECT_EQ(parameters.text(QStringLiteral("CDFILIAL")), QStringLiteral("0001"));
    EXPECT_EQ(parameters.text(QStringLiteral("CDLOJA")), QStringLiteral("0001"));
    EXPECT_EQ(parameters.text(QStringLiteral("CDCAIXA")), QStringLiteral("001"));
    EXPECT_EQ(parameters.text(QStringLiteral("IDPERVENCONINAT")), QStringLiteral("S"));
    EXPECT_EQ(parameters.field(QStringLiteral("UTILIZAIMPFIS")).type, dataset::FieldType::Boolean);
    EXPECT_EQ(parameters.value(QStringLiteral("UTILIZAIMPFIS")), QVariant(false));

    dataset::Table clients;
    clients.loadFromFile(QDir(folder).filePath(QStringLiteral("Dados/Cadastros/Cad_Cliente.cds")));
    const QList<std::pair<QString, int>> widths{
        {QStringLiteral("CDCLIENTE"), 21},    {QStringLiteral("IDTPIJURCLIE"), 1}, {QStringLiteral("NRINSJURCLIE"), 20},
        {QStringLiteral("NMRAZSOCCLIE"), 50}, {QStringLiteral("NMFANTCLIE"), 50},  {QStringLiteral("CDEXCLIENTE"), 30},
        {QStringLiteral("CDFILTABPREC"), 4},  {QStringLiteral("CDTABEPREC"), 3}};
    ASSERT_EQ(clients.fields().size(), widths.size());
    for (qsizetype i = 0; i < widths.size(); ++i) {
        EXPECT_EQ(clients.fields()[i].name, widths[i].first);
        EXPECT_EQ(clients.fields()[i].width, widths[i].second) << widths[i].first.toStdString();
    }
    EXPECT_EQ(clients.recordCount(), 4);
    ASSERT_TRUE(clients.locate(QStringLiteral("CDCLIENTE"), QStringLiteral("000000000000000000002")));
    EXPECT_EQ(clients.text(QStringLiteral("NMRAZSOCCLIE")), QStringLiteral("Construtora Conceição Ltda"));
}

TEST(MakeDemo, ParametersCanBeChangedForOneTest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    schema::DemoParameters changed;
    changed.idExConsAtFil = QStringLiteral("S");
    changed.utilizaImpFis = true;
    schema::writeDemoFiles(dir.path(), changed);

    dataset::Table parameters;
    parameters.loadFromFile(schema::parametersFilePath(dir.path()));
    EXPECT_EQ(parameters.text(QStringLiteral("IDEXCONSATFIL")), QStringLiteral("S"));
    EXPECT_EQ(parameters.text(QStringLiteral("IDEXCONSATGER")), QStringLiteral("N"));
    EXPECT_EQ(parameters.value(QStringLiteral("UTILIZAIMPFIS")), QVariant(true));
    dataset::Table clients;
    clients.loadFromFile(schema::clientFilePath(dir.path()));
    EXPECT_EQ(clients.recordCount(), 4);
}

TEST(MakeDemo, WrongUseIsExplainedAndFails)
{
    const Outcome none = makeDemo({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains(QStringLiteral("No folder given"))) << none.err.toStdString();
    EXPECT_TRUE(none.err.contains(QStringLiteral("usage:")));

    const Outcome unknown = makeDemo({QStringLiteral("--sqlserver"), QStringLiteral("x")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("--sqlserver"))) << unknown.err.toStdString();

    const Outcome noOdbc = makeDemo({QStringLiteral("x"), QStringLiteral("--pg")});
    EXPECT_EQ(noOdbc.exitCode, 2);
    const Outcome notSqlServer = makeDemo({QStringLiteral("x"), QStringLiteral("--mssql"), QStringLiteral("Provider=SQLite;Data Source=x.db")});
    EXPECT_EQ(notSqlServer.exitCode, 2);
    EXPECT_TRUE(notSqlServer.err.contains(QStringLiteral("SQL Server connection string"))) << notSqlServer.err.toStdString();

    // A folder that cannot be made: its parent is a file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain-file"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const Outcome blocked = makeDemo({file + QStringLiteral("/demo")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains(QStringLiteral("Cannot create the folder"))) << blocked.err.toStdString();

    const Outcome unreachable = makeDemo(
        {dir.filePath(QStringLiteral("pg")),
         QStringLiteral("--pg"), QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;Uid=u;Pwd=secret99;")});
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_FALSE(unreachable.err.isEmpty());
    EXPECT_FALSE(unreachable.err.contains(QStringLiteral("secret99"))) << unreachable.err.toStdString();
}

TEST(MakeDemo, InstallsIntoEachServerAndReplacesAnEarlierDemo)
{
    struct Server {
        const char *variable;
        const char *option;
    };
    const Server servers[] = {{"TKT_PG_ODBC", "--pg"}, {"TKT_MSSQL", "--mssql"}};
    int ran = 0;
    for (const Server &s : servers) {
        const QString reach = qEnvironmentVariable(s.variable).trimmed();
        if (reach.isEmpty())
            continue;
        ++ran;
        const bool postgres = QLatin1String(s.option) == QLatin1String("--pg");
        const QString name = QStringLiteral("tkt_make_demo_%1").arg(QCoreApplication::applicationPid());
        db::Connection server;
        server.setConnectionString(postgres ? QStringLiteral("Provider=MSDASQL;") + reach : reach);
        server.open();
        schema::dropDatabase(server, name);
        schema::createDatabase(server, name);

        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString target = postgres ? schema::odbcWithDatabase(reach, name) : schema::adoWithCatalog(reach, name);
        for (int run = 0; run < 2; ++run) {
            const Outcome outcome = makeDemo({dir.path(), QLatin1String(s.option), target});
            EXPECT_EQ(outcome.exitCode, 0) << s.option << ": " << outcome.err.toStdString();
        }
        EXPECT_EQ(waiterCount(postgres ? QStringLiteral("Provider=MSDASQL;") + target : target), 12) << s.option;
        EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("demo.db"))));
        EXPECT_TRUE(QFile::exists(schema::clientFilePath(dir.path())));
        db::ConnectionPool::instance().drain();
        schema::dropDatabase(server, name);
    }
    if (ran == 0)
        GTEST_SKIP() << "neither TKT_PG_ODBC nor TKT_MSSQL is set: no server to install into";
}
