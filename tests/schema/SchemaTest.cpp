// The store schema and demo data: the scripts run as a unit, the demo rows that the module's rules
// need are there (and identical) on every back end, and every way of naming a consumer is an index
// search.

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "schema/Schema.h"
#include "support/DemoDatabase.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QPasswordDigestor>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString testSql(const QString &name)
{
    QFile file(QStringLiteral(":/schema_test/sql/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("test script %1 missing").arg(name));
    return QString::fromUtf8(file.readAll());
}

std::unique_ptr<db::Connection> connect(const Backend &backend)
{
    auto connection = std::make_unique<db::Connection>();
    connection->setConnectionString(backend.connectionString);
    connection->open();
    return connection;
}

// A value as the same text on every back end: SQLite keeps timestamps as text, PostgreSQL gives
// QDateTime; reals are compared by value.
QString cellText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("<null>");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

struct Rows {
    QStringList columns;
    QList<QVariantList> values;
};

Rows run(db::Connection &connection, const QString &sql, const QVariantHash &parameters = {})
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw tkt::Error(QStringLiteral("prepare failed: %1\n%2").arg(query.lastError().text(), sql));
    for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it)
        query.bindValue(it.key(), it.value());
    if (!query.exec())
        throw tkt::Error(QStringLiteral("query failed: %1\n%2").arg(query.lastError().text(), sql));
    Rows rows;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        rows.columns.append(record.fieldName(i).toUpper());
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i)
            row.append(query.value(i));
        rows.values.append(row);
    }
    return rows;
}

std::string tableText(const Rows &rows)
{
    QStringList lines{rows.columns.join(u'|')};
    for (const QVariantList &row : rows.values) {
        QStringList cells;
        for (const QVariant &v : row)
            cells.append(cellText(v));
        lines.append(cells.join(u'|'));
    }
    return lines.join(u'\n').toStdString();
}

std::string sortedTableText(const Rows &rows)
{
    QStringList lines = QString::fromStdString(tableText(rows)).split(u'\n');
    std::sort(lines.begin() + 1, lines.end());
    return lines.join(u'\n').toStdString();
}

bool tableExists(QSqlDatabase database, const QString &table)
{
    return database.tables().contains(table, Qt::CaseInsensitive);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Scripts

TEST(SchemaScript, StatementsEndAtLineEndSemicolonsOutsideQuotes)
{
    const QString text = QStringLiteral(
        "-- heading; with a semicolon\n"
        "CREATE TABLE A (X VARCHAR(9)); -- trailing comment\n"
        "INSERT INTO A VALUES ('one;\n"
        "two');\n"
        "INSERT INTO A VALUES ('it''s -- no comment;');\n"
        "INSERT INTO A VALUES ('x'); INSERT INTO A VALUES ('y');\n"
        "\n"
        "SELECT \"A;\" FROM A");
    const QStringList list = db::splitStatements(text);
    ASSERT_EQ(list.size(), 5) << list.join(QStringLiteral("\n---\n")).toStdString();
    EXPECT_EQ(list[0], QStringLiteral("CREATE TABLE A (X VARCHAR(9))"));
    EXPECT_EQ(list[1], QStringLiteral("INSERT INTO A VALUES ('one;\ntwo')"));
    EXPECT_EQ(list[2], QStringLiteral("INSERT INTO A VALUES ('it''s -- no comment;')"));
    // A semicolon followed by more text on its line does not end the statement.
    EXPECT_EQ(list[3], QStringLiteral("INSERT INTO A VALUES ('x'); INSERT INTO A VALUES ('y')"));
    EXPECT_EQ(list[4], QStringLiteral("SELECT \"A;\" FROM A"));
    EXPECT_TRUE(db::splitStatements(QStringLiteral("-- only a comment;\n\n  ;\n")).isEmpty());
}

TEST(SchemaScript, EveryScriptOfBothDialectsSplitsIntoWholeStatements)
{
    for (const db::DbKind kind : {db::DbKind::SQLite, db::DbKind::PostgreSQL}) {
        const QStringList tables = db::splitStatements(schema::script(kind, QStringLiteral("schema.sql")));
        EXPECT_EQ(tables.size(), 15) << db::dbKindName(kind).toStdString();
        for (const QString &statement : tables)
            EXPECT_TRUE(statement.startsWith(u"CREATE TABLE ") && statement.endsWith(u')'))
                << statement.toStdString();
    }
    // The demo rows carry a semicolon inside a quoted text.
    const QStringList inserts = db::splitStatements(schema::script(db::DbKind::Unknown, QStringLiteral("demo_data.sql")));
    for (const QString &statement : inserts)
        EXPECT_TRUE(statement.startsWith(u"INSERT INTO ") && statement.endsWith(u')')) << statement.toStdString();
}

TEST(SchemaScript, OracleHasNoSchema)
{
    try {
        schema::install(QSqlDatabase(), db::DbKind::Oracle, false);
        FAIL() << "installed a schema for Oracle";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("SQLite, PostgreSQL and SQL Server"))) << e.what();
    }
    EXPECT_THROW(schema::install(QSqlDatabase(), db::DbKind::Unknown, false), tkt::Error);
}

// ---------------------------------------------------------------------------------------------
// Installation

TEST(SchemaInstall, AFailedInstallationLeavesNothingBehind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    db::Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + dir.filePath(QStringLiteral("x.db")));
    connection.open();
    {
        QSqlQuery clash(connection.database());
        ASSERT_TRUE(clash.exec(QStringLiteral("CREATE TABLE MESA (NRMESA VARCHAR(4))")));
    }
    try {
        schema::install(connection, true);
        FAIL() << "installed over an existing MESA table";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("schema.sql"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("MESA"))) << e.what();
    }
    // The tables created before MESA went back with the transaction.
    EXPECT_FALSE(tableExists(connection.database(), QStringLiteral("FILIAL")));
    EXPECT_FALSE(tableExists(connection.database(), QStringLiteral("VENDEDOR")));

    schema::uninstall(connection);
    schema::install(connection, true);
    schema::uninstall(connection);
    schema::install(connection, false);
    EXPECT_TRUE(tableExists(connection.database(), QStringLiteral("COMANDAVEN")));
    EXPECT_TRUE(run(connection, testSql(QStringLiteral("waiters.sql"))).values.isEmpty());
}

TEST(SchemaInstall, DatabaseNamesThatCannotBeBoundAreChecked)
{
    db::Connection unused;
    for (const QString &name : {QStringLiteral("tkt; DROP DATABASE tkt"), QStringLiteral("Tkt"),
                                QStringLiteral("1tkt"), QString(64, u'a'), QString()}) {
        try {
            schema::createDatabase(unused, name);
            FAIL() << "accepted " << name.toStdString();
        } catch (const tkt::Error &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("cannot be used as a database name"))) << e.what();
        }
    }
}

TEST(SchemaInstall, OdbcStringNamesTheOtherDatabase)
{
    EXPECT_EQ(schema::odbcWithDatabase(QStringLiteral("Driver={PostgreSQL Unicode};Server=h;database=tkt;Pwd={a;b};"),
                                       QStringLiteral("tkt_x_1")),
              QStringLiteral("Driver={PostgreSQL Unicode};Server=h;Pwd={a;b};Database=tkt_x_1;"));
    EXPECT_EQ(schema::odbcWithDatabase(QStringLiteral("DSN=store"), QStringLiteral("demo")),
              QStringLiteral("DSN=store;Database=demo;"));
    EXPECT_EQ(schema::adoWithCatalog(QStringLiteral("Provider=SQLOLEDB.1;Data Source=h;initial catalog=master;Password={a;b}"),
                                     QStringLiteral("tkt_x_1")),
              QStringLiteral("Provider=SQLOLEDB.1;Data Source=h;Password={a;b};Initial Catalog=tkt_x_1;"));
}

// ---------------------------------------------------------------------------------------------
// Demo rows, on every back end

class DemoRows : public testing::TestWithParam<Backend> {};

TEST_P(DemoRows, WaitersCoverEveryVerdict)
{
    auto connection = connect(GetParam());
    const Rows rows = run(*connection, testSql(QStringLiteral("waiters.sql")));
    QHash<QString, QVariantList> byCode;
    for (const QVariantList &row : rows.values)
        byCode.insert(row[0].toString(), row);
    ASSERT_EQ(byCode.size(), 12);

    const auto field = [&](const char *code, int column) { return byCode.value(QString::fromLatin1(code)).value(column); };
    // The name that one service form must cut to 50 characters.
    EXPECT_EQ(field("0010", 1).toString().size(), 58);
    EXPECT_TRUE(field("0010", 1).toString().contains(QStringLiteral("Conceição")));
    // Blank branches: empty, spaces kept as spaces, and NULL.
    EXPECT_EQ(field("0004", 3).toString(), QString());
    EXPECT_EQ(field("0005", 3).toString(), QStringLiteral("    "));
    EXPECT_TRUE(field("0006", 3).isNull());
    // Operator missing and operator inactive.
    EXPECT_TRUE(field("0008", 5).isNull());
    EXPECT_EQ(field("0009", 5).toString(), QStringLiteral("I"));
    // Short preset codes are stored at full width.
    EXPECT_TRUE(byCode.contains(QStringLiteral("0007")));
    EXPECT_FALSE(byCode.contains(QStringLiteral("7")));
}

TEST_P(DemoRows, ConsumersAndTheirPlaces)
{
    auto connection = connect(GetParam());
    const QString badgeSql = testSql(QStringLiteral("consumers_by_badge.sql"));

    const Rows twoClients = run(*connection, badgeSql, {{QStringLiteral(":P_CDIDCONSUMID"), QStringLiteral("0000099999")}});
    ASSERT_EQ(twoClients.values.size(), 2);
    EXPECT_NE(twoClients.values[0][0], twoClients.values[1][0]);

    // This text is the badge of one consumer and the code of another.
    const Rows badge = run(*connection, badgeSql, {{QStringLiteral(":P_CDIDCONSUMID"), QStringLiteral("000000000000000000021")}});
    ASSERT_EQ(badge.values.size(), 1);
    EXPECT_EQ(badge.values[0][1].toString(), QStringLiteral("000000000000000000024"));

    const QString placesSql = testSql(QStringLiteral("consumer_with_places.sql"));
    const Rows joao = run(*connection, placesSql, {{QStringLiteral(":P_CDCONSUMIDOR"), QStringLiteral("000000000000000000021")}});
    ASSERT_EQ(joao.values.size(), 1);
    const QVariantList &j = joao.values[0];
    EXPECT_EQ(j[0].toString(), QStringLiteral("João da Conceição"));
    EXPECT_EQ(j[1].toString(), QStringLiteral("mg1234567"));
    EXPECT_EQ(j[2].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(j[2].toDouble(), 500.5);
    EXPECT_EQ(cellText(j[3]), QStringLiteral("1980-03-15 00:00:00"));
    EXPECT_EQ(j[4].toString(), QStringLiteral("Em frente à praça da Savassi, portão azul."));
    EXPECT_DOUBLE_EQ(j[5].toDouble(), 10.5);
    EXPECT_EQ(j[6].toString(), QStringLiteral("Belo Horizonte"));
    EXPECT_EQ(j[7].toString(), QStringLiteral("Savassi"));
    EXPECT_EQ(j[8].toString(), QStringLiteral("Brasil"));
    EXPECT_EQ(j[9].toString(), QStringLiteral("Minas Gerais"));

    const Rows nowhere = run(*connection, placesSql, {{QStringLiteral(":P_CDCONSUMIDOR"), QStringLiteral("000000000000000000032")}});
    ASSERT_EQ(nowhere.values.size(), 1);
    for (int column = 5; column <= 9; ++column)
        EXPECT_TRUE(nowhere.values[0][column].isNull()) << nowhere.columns[column].toStdString();
}

TEST_P(DemoRows, EveryOperatorPasswordIsTheDocumentedOne)
{
    auto connection = connect(GetParam());
    const Rows rows = run(*connection, testSql(QStringLiteral("operators.sql")));
    ASSERT_EQ(rows.values.size(), 6);
    QSet<QString> salts;
    for (const QVariantList &row : rows.values) {
        const QStringList parts = row[1].toString().split(u'$');
        ASSERT_EQ(parts.size(), 4) << row[0].toString().toStdString();
        EXPECT_EQ(parts[0], QStringLiteral("pbkdf2-sha256"));
        const int iterations = parts[1].toInt();
        EXPECT_GE(iterations, 10000);
        const QByteArray salt = QByteArray::fromHex(parts[2].toLatin1());
        const QByteArray stored = QByteArray::fromHex(parts[3].toLatin1());
        EXPECT_EQ(salt.size(), 16);
        salts.insert(parts[2]);
        const auto derive = [&](const char *password) {
            return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, QByteArray(password), salt,
                                                      iterations, 32);
        };
        EXPECT_EQ(derive("1234"), stored) << row[0].toString().toStdString();
        EXPECT_NE(derive("1235"), stored);
    }
    EXPECT_EQ(salts.size(), 6) << "every operator has a salt of its own";
}

// The six ways the consumer field can name a consumer must each find their rows through an index:
// the consumer query runs at every validation, against all consumers of every client.
TEST_P(DemoRows, EveryConsumerLookupIsAnIndexSearch)
{
    const QString backend = GetParam().name;
    auto connection = connect(GetParam());
    const QString dialect = backend == QStringLiteral("SQLite") ? QStringLiteral("sqlite")
                            : backend == QStringLiteral("PostgreSQL") ? QStringLiteral("postgresql")
                                                                      : QStringLiteral("sqlserver");
    const QStringList lookups = db::splitStatements(testSql(dialect + QStringLiteral("/consumer_lookups.sql")));
    // SQL Server indexes no expression: the identity number is sought on the column's own index.
    const QString identity = dialect == QStringLiteral("sqlserver") ? QStringLiteral("IX_CONSUMIDOR_NRRGCONSUMID")
                                                                    : QStringLiteral("IX_CONSUMIDOR_NRRGCONSUMID_UPPER");
    const QStringList indexes{
        QStringLiteral("IX_CONSUMIDOR_CDIDCONSUMID"), QStringLiteral("IX_CONSUMIDOR_CDIDCONSUMID"),
        QStringLiteral("IX_CONSUMIDOR_CDCONSUMIDOR"), QStringLiteral("IX_CONSUMIDOR_NRCPFRESPCON"),
        identity, QStringLiteral("IX_CONSUMIDOR_CDEXCONSUMID")};
    ASSERT_EQ(lookups.size(), indexes.size());

    // How each back end shows the plan, and how a plan that reads every row reads.
    QString explain;
    QString scan = QStringLiteral("Seq Scan");
    int detailColumn = 0;
    QSqlQuery setting(connection->database());
    setting.setForwardOnly(true);
    if (dialect == QStringLiteral("sqlite")) {
        explain = QStringLiteral("EXPLAIN QUERY PLAN ");
        scan = QStringLiteral("SCAN CO");
        detailColumn = 3;
    } else if (dialect == QStringLiteral("postgresql")) {
        explain = QStringLiteral("EXPLAIN ");
        // A table of a few rows is read whole whatever its indexes; without sequential scans the
        // planner shows which index it would take, and a lookup no index serves stays a Seq Scan.
        ASSERT_TRUE(setting.exec(QStringLiteral("SET enable_seqscan = off"))) << setting.lastError().text().toStdString();
    } else if (!run(*connection, QStringLiteral("SELECT @@VERSION AS V")).values.value(0).value(0).toString().contains(
                   QStringLiteral("Babelfish"))) {
        ASSERT_TRUE(setting.exec(QStringLiteral("SET SHOWPLAN_TEXT ON"))) << setting.lastError().text().toStdString();
        scan = QStringLiteral("Table Scan");
    } else {
        // Babelfish for PostgreSQL shows PostgreSQL's plan, with the same small-table caveat.
        ASSERT_TRUE(setting.exec(QStringLiteral("SELECT set_config('enable_seqscan', 'off', false)")))
            << setting.lastError().text().toStdString();
        ASSERT_TRUE(setting.exec(QStringLiteral("SET BABELFISH_SHOWPLAN_ALL ON"))) << setting.lastError().text().toStdString();
    }
    for (qsizetype i = 0; i < lookups.size(); ++i) {
        const Rows plan = run(*connection, explain + lookups[i], {{QStringLiteral(":P_VALOR"), QStringLiteral("12345")}});
        QStringList lines;
        for (const QVariantList &row : plan.values)
            lines.append(row.value(detailColumn).toString());
        const QString text = lines.join(u'\n');
        EXPECT_TRUE(text.contains(indexes[i], Qt::CaseInsensitive))
            << lookups[i].toStdString() << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(scan, Qt::CaseInsensitive) || text.contains(QStringLiteral("Clustered Index Scan")))
            << lookups[i].toStdString() << "\n" << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoRows, testing::ValuesIn(demoBackends(QStringLiteral("schema"))), backendTestName);

// Values written once as plain INSERTs must read back the same on every back end: accents through
// ODBC, spaces in codes, NULLs, reals and timestamps.
TEST(DemoRowsAcrossBackEnds, EveryTableReadsTheSameOnEveryServerAsOnSQLite)
{
    const QList<Backend> backends = demoBackends(QStringLiteral("schema"));
    if (backends.size() < 2)
        GTEST_SKIP() << "neither TKT_PG_ODBC nor TKT_MSSQL is set: no server to compare with";
    auto sqlite = connect(backends[0]);
    const QStringList dumps = db::splitStatements(testSql(QStringLiteral("dump.sql")));
    ASSERT_EQ(dumps.size(), 15);
    for (qsizetype server = 1; server < backends.size(); ++server) {
        auto other = connect(backends[server]);
        for (const QString &sql : dumps) {
            const Rows a = run(*sqlite, sql);
            const Rows b = run(*other, sql);
            EXPECT_FALSE(a.values.isEmpty()) << sql.toStdString();
            // Rows in the order of the key, which a server's collation may sort otherwise ("RES_1"
            // and "RESX9"): the rows themselves must be the same.
            EXPECT_EQ(sortedTableText(a), sortedTableText(b)) << backends[server].name.toStdString() << ": " << sql.toStdString();
        }
    }
}
