#include "DbTestSupport.h"
#include "QStringPrinter.h"

#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "db/Query.h"
#include "support/LocalZone.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using dataset::FieldType;
using dbtest::Backend;

namespace {

class QueryOnBackend : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::SQLite) {
            ASSERT_TRUE(m_dir.isValid());
            m_connectionString = QStringLiteral("Provider=SQLite;Data Source=%1").arg(m_dir.filePath(QStringLiteral("t.db")));
        } else {
            m_connectionString = dbtest::PgDatabase::instance().connectionString();
            if (m_connectionString.isEmpty())
                GTEST_SKIP() << "TKT_PG_ODBC is not set";
        }
        connection.setConnectionString(m_connectionString);
        connection.open();
        dbtest::exec(connection, QStringLiteral("DROP TABLE IF EXISTS VENDEDOR"));
        dbtest::exec(connection, QStringLiteral(
            "CREATE TABLE VENDEDOR (CDVENDEDOR VARCHAR(4) NOT NULL, NMFANVEN VARCHAR(21), CDFILIAL CHAR(4), "
            "VRSALDO NUMERIC(12,2), NRORDEM INTEGER, DTNASC DATE, DTCAD TIMESTAMP)"));
        dbtest::exec(connection, QStringLiteral(
            "INSERT INTO VENDEDOR VALUES ('0001', 'ANA', '0001', 10.5, 1, '1990-01-02', '2024-05-06 07:08:09')"));
        dbtest::exec(connection, QStringLiteral(
            "INSERT INTO VENDEDOR VALUES ('0002', 'BRUNO', '0002', 3, 2, NULL, NULL)"));
        dbtest::exec(connection, QStringLiteral(
            "INSERT INTO VENDEDOR VALUES ('0003', NULL, '0001', NULL, NULL, NULL, NULL)"));
    }

    bool sqlite() const { return GetParam() == Backend::SQLite; }

    QStringList codes(db::Query &query)
    {
        QStringList result;
        for (query.open(); !query.eof(); query.next())
            result << query.text(QStringLiteral("cdvendedor"));
        query.close();
        return result;
    }

    QTemporaryDir m_dir;
    QString m_connectionString;
    db::Connection connection;
};

TEST_P(QueryOnBackend, repeatedNameTakesTheValueAtEveryOccurrence)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT CDVENDEDOR FROM VENDEDOR WHERE (CDVENDEDOR = :P_CDVENDEDOR) "
                                "OR ('T' = :P_CDVENDEDOR) ORDER BY CDVENDEDOR"));
    EXPECT_EQ(query.parameterNames(), QStringList{QStringLiteral("P_CDVENDEDOR")});
    query.setParam(QStringLiteral("p_cdvendedor"), QStringLiteral("0002"));
    EXPECT_EQ(codes(query), QStringList{QStringLiteral("0002")});
    query.setParam(QStringLiteral("P_CDVENDEDOR"), QStringLiteral("T"));
    EXPECT_EQ(codes(query), (QStringList{QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0003")}));
}

TEST_P(QueryOnBackend, columnsAreFoundByNameInAnyOrderOnEveryRow)
{
    db::Query query(connection);
    // CDFILIAL is listed twice: its name always means the last of the two, as it always has.
    query.setSql(QStringLiteral("SELECT CDVENDEDOR, NMFANVEN, CDVENDEDOR AS CDFILIAL, CDFILIAL FROM VENDEDOR "
                                "ORDER BY CDVENDEDOR"));
    query.open();
    // The names are read one statement at a time: the order of the reads is part of what is tested.
    QStringList read;
    auto readInOrder = [&](std::initializer_list<const char *> names) {
        QStringList values;
        for (const char *name : names)
            values << query.text(QLatin1String(name));
        read << values.join(QLatin1Char('/'));
    };
    for (; !query.eof(); query.next()) {
        readInOrder({"CDVENDEDOR", "NMFANVEN", "CDFILIAL"});
        readInOrder({"nmfanven", "NMFANVEN", "CDVENDEDOR"});
    }
    EXPECT_EQ(read, (QStringList{QStringLiteral("0001/ANA/0001"), QStringLiteral("ANA/ANA/0001"),
                                 QStringLiteral("0002/BRUNO/0002"), QStringLiteral("BRUNO/BRUNO/0002"),
                                 QStringLiteral("0003//0001"), QStringLiteral("//0003")}));

    // Without the repeated name, a row read in the SELECT's order and then out of it.
    query.close();
    query.setSql(QStringLiteral("SELECT CDVENDEDOR, NMFANVEN, CDFILIAL FROM VENDEDOR WHERE CDVENDEDOR = '0002'"));
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0002"));
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("BRUNO"));
    EXPECT_EQ(query.text(QStringLiteral("CDFILIAL")), QStringLiteral("0002"));
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("BRUNO"));
    EXPECT_EQ(query.text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0002"));
}

TEST_P(QueryOnBackend, colonInsideLiteralIsText)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT '10:30 :P_X' AS HORA FROM VENDEDOR WHERE CDVENDEDOR = :P_CD"));
    EXPECT_EQ(query.parameterNames(), QStringList{QStringLiteral("P_CD")});
    query.setParam(QStringLiteral("P_CD"), QStringLiteral("0001"));
    query.open();
    ASSERT_FALSE(query.eof());
    EXPECT_EQ(query.text(QStringLiteral("HORA")), QStringLiteral("10:30 :P_X"));
}

TEST_P(QueryOnBackend, nullAndEmptyTextBindDifferently)
{
    db::Query query(connection);
    // PostgreSQL must be told the type of a parameter it only tests for NULL.
    query.setSql(QStringLiteral("SELECT CASE WHEN CAST(:P_V AS VARCHAR(10)) IS NULL THEN 'NULL' WHEN :P_V = '' "
                                "THEN 'EMPTY' ELSE 'VALUE' END AS R FROM VENDEDOR WHERE CDVENDEDOR = '0001'"));
    const std::pair<QString, const char *> cases[] = {
        {QString(), "NULL"}, {QStringLiteral(""), "EMPTY"}, {QStringLiteral(" "), "VALUE"},
        {QString(), "NULL"}, {QString(), "NULL"}, {QStringLiteral(""), "EMPTY"}, {QString(), "NULL"}};
    for (const auto &[value, expected] : cases) {
        query.setParam(QStringLiteral("P_V"), value);
        query.open();
        EXPECT_EQ(query.text(QStringLiteral("R")), QLatin1String(expected));
        query.close();
    }
}

TEST_P(QueryOnBackend, hostileValuesAreOnlyData)
{
    QStringList values = {QStringLiteral("'"), QStringLiteral("' OR '1'='1"),
                          QStringLiteral("0001'; DELETE FROM VENDEDOR;--"), QStringLiteral("\";--"),
                          QStringLiteral(":P_V ? $1 %s"), QString(10000, u'x') + QStringLiteral("'"),
                          QStringLiteral("Nação açaí 中文 Ελληνικά עברית 🍕")};

    db::Query echo(connection);
    echo.setSql(QStringLiteral("SELECT :P_V AS V FROM VENDEDOR WHERE CDVENDEDOR = '0001'"));
    db::Query lookup(connection);
    lookup.setSql(QStringLiteral("SELECT COUNT(*) AS N FROM VENDEDOR WHERE CDVENDEDOR = :P_V OR NMFANVEN = :P_V"));
    for (const QString &value : values) {
        echo.setParam(QStringLiteral("P_V"), value);
        echo.open();
        EXPECT_EQ(echo.text(QStringLiteral("V")), value) << value.left(40).toStdString();
        echo.close();
        lookup.setParam(QStringLiteral("P_V"), value);
        lookup.open();
        EXPECT_EQ(lookup.value(QStringLiteral("N")).toLongLong(), 0) << value.left(40).toStdString();
        lookup.close();
    }
    lookup.setSql(QStringLiteral("SELECT COUNT(*) AS N FROM VENDEDOR"));
    lookup.open();
    EXPECT_EQ(lookup.value(QStringLiteral("N")).toLongLong(), 3);
}

TEST_P(QueryOnBackend, textWithNulIsRefusedNotCutShort)
{
    // An ODBC driver ends the text at the NUL and the database would compare another value.
    db::Query echo(connection);
    echo.setSql(QStringLiteral("SELECT :P_V AS V FROM VENDEDOR WHERE CDVENDEDOR = '0001'"));
    echo.setParam(QStringLiteral("P_V"), QStringLiteral("0001") + QChar(u'\0') + QStringLiteral("x"));
    EXPECT_THROW(echo.open(), tkt::Error);
    EXPECT_FALSE(echo.active());
    echo.setParam(QStringLiteral("P_V"), QStringLiteral("ok"));
    echo.open();
    EXPECT_EQ(echo.text(QStringLiteral("V")), QStringLiteral("ok"));
}

TEST_P(QueryOnBackend, fieldListIsUpperCaseWithDeclaredWidths)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT cdvendedor, nmfanven AS nmfanven, CDFILIAL, VRSALDO, NRORDEM, DTNASC, DTCAD, "
                                "UPPER(NMFANVEN) AS NOME, 1 AS POSICAO FROM VENDEDOR ORDER BY CDVENDEDOR"));
    query.open();
    const dataset::FieldList fields = query.fieldList();
    const dataset::Table table = query.fetchAll();
    EXPECT_TRUE(query.eof());

    const QStringList names = {QStringLiteral("CDVENDEDOR"), QStringLiteral("NMFANVEN"), QStringLiteral("CDFILIAL"),
                               QStringLiteral("VRSALDO"),    QStringLiteral("NRORDEM"),  QStringLiteral("DTNASC"),
                               QStringLiteral("DTCAD"),      QStringLiteral("NOME"),     QStringLiteral("POSICAO")};
    const FieldType types[] = {FieldType::String, FieldType::String,   FieldType::String,
                               FieldType::Float,  FieldType::Integer,  FieldType::Date,
                               FieldType::DateTime, FieldType::String, FieldType::Integer};
    const int widths[] = {4, 21, 4, 0, 0, 0, 0};
    for (const dataset::FieldList &list : {fields, table.fields()}) {
        ASSERT_EQ(list.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_EQ(list[i].name, names[i]);
            EXPECT_EQ(list[i].type, types[i]) << names[i].toStdString();
            if (i < 7) {
                EXPECT_EQ(list[i].width, widths[i]) << names[i].toStdString();
            }
        }
    }
    // An expression has no declared width: SQLite's comes from the longest value.
    if (sqlite())
        EXPECT_EQ(table.fields()[7].width, 5);
    else
        EXPECT_GE(table.fields()[7].width, 5);

    ASSERT_EQ(table.allRows().size(), 3);
    const dataset::Row &ana = table.allRows()[0];
    EXPECT_EQ(ana[3].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(ana[3].toDouble(), 10.5);
    EXPECT_EQ(table.allRows()[1][3].typeId(), QMetaType::Double); // SQLite keeps 3.0 as an integer
    EXPECT_DOUBLE_EQ(table.allRows()[1][3].toDouble(), 3.0);
    EXPECT_EQ(ana[4].toLongLong(), 1);
    EXPECT_EQ(ana[5].toDate(), QDate(1990, 1, 2));
    EXPECT_EQ(ana[6].toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC));
    EXPECT_EQ(ana[7].toString(), QStringLiteral("ANA"));
    EXPECT_FALSE(table.allRows()[2][1].isValid()); // NULL stays null
}

TEST_P(QueryOnBackend, valuesOfEveryKindReadAlikeOnEveryBackend)
{
    // Long texts come from a server in several parts; none may be cut, doubled or lose a character.
    const QString longText = QString(QStringLiteral("açaí-")).repeated(2000);
    dbtest::exec(connection, QStringLiteral("DROP TABLE IF EXISTS KINDS"));
    dbtest::exec(connection, sqlite() ? QStringLiteral("CREATE TABLE KINDS (K INTEGER, T VARCHAR(12), L TEXT, "
                                                       "S SMALLINT, B BIGINT, BI BLOB)")
                                      : QStringLiteral("CREATE TABLE KINDS (K INTEGER, T VARCHAR(12), L TEXT, "
                                                       "S SMALLINT, B BIGINT, BI BYTEA)"));
    db::Query insert(connection);
    insert.setSql(QStringLiteral("INSERT INTO KINDS (K, T, L, S, B) VALUES (1, :P_T, :P_L, -7, 9007199254740993)"));
    insert.setParam(QStringLiteral("P_T"), QStringLiteral("Ação ñ €"));
    insert.setParam(QStringLiteral("P_L"), longText);
    insert.open();
    insert.close();
    dbtest::exec(connection, QStringLiteral("INSERT INTO KINDS (K, T, L) VALUES (2, '', NULL)"));

    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT K, T, L, S, B, BI FROM KINDS ORDER BY K"));
    query.open();
    const dataset::Table table = query.fetchAll();
    const dataset::FieldList &fields = table.fields();
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields[1].type, FieldType::String);
    EXPECT_EQ(fields[1].width, 12);
    EXPECT_EQ(fields[2].type, FieldType::String);
    EXPECT_EQ(fields[3].type, FieldType::Integer);
    EXPECT_EQ(fields[4].type, FieldType::Integer);
    EXPECT_EQ(fields[5].type, FieldType::Blob);

    ASSERT_EQ(table.allRows().size(), 2);
    const dataset::Row &first = table.allRows()[0];
    EXPECT_EQ(first[1].toString(), QStringLiteral("Ação ñ €"));
    EXPECT_EQ(first[2].toString(), longText);
    EXPECT_EQ(first[3].toLongLong(), -7);
    EXPECT_EQ(first[4].toLongLong(), 9007199254740993LL);
    EXPECT_TRUE(dataset::isNullValue(first[5]));
    const dataset::Row &second = table.allRows()[1];
    EXPECT_FALSE(dataset::isNullValue(second[1])) << "an empty text is not a null";
    EXPECT_TRUE(second[1].toString().isEmpty());
    EXPECT_TRUE(dataset::isNullValue(second[2]));
}

TEST_P(QueryOnBackend, aPacketHoldsTheSameBytesAsTheTableOfItsRows)
{
    // The packet is written while the rows are read; it must be the table's packet, byte for byte,
    // on the first run and on the runs that reuse its field list.
    if (sqlite()) // SQLite keeps a text longer than its declared width: the width must follow it.
        dbtest::exec(connection, QStringLiteral("INSERT INTO VENDEDOR VALUES ('0009', 'JOÃO, NOME MAIS LONGO QUE "
                                                "O TAMANHO', '0001', 2.25, 9, '2020-01-02', '2020-01-02 03:04:05.678')"));
    db::Query query(connection);
    const QString texts[] = {
        QStringLiteral("SELECT * FROM VENDEDOR ORDER BY CDVENDEDOR"),
        QStringLiteral("SELECT CDVENDEDOR, UPPER(NMFANVEN) AS NOME, 2 AS N FROM VENDEDOR ORDER BY CDVENDEDOR"),
        QStringLiteral("SELECT * FROM VENDEDOR WHERE CDVENDEDOR = 'NONE'"),
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        query.setSql(text);
        for (int run = 0; run < 2; ++run) {
            const QByteArray packet = db::packetOf(query);
            query.open();
            const dataset::Table table = query.fetchAll();
            query.close();
            EXPECT_TRUE(packet == dataset::packet::encode(table.fields(), table.allRows())) << run;
        }
    }
}

TEST_P(QueryOnBackend, aColumnTypeSetForAnExpressionHoldsWithOrWithoutRows)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT 1 AS POSICAO, :P AS ECO, NMFANVEN FROM VENDEDOR WHERE CDVENDEDOR = :P"));
    query.setColumnType(QStringLiteral("posicao"), FieldType::Float);
    query.setColumnType(QStringLiteral("ECO"), FieldType::String);
    query.setColumnType(QStringLiteral("NMFANVEN"), FieldType::Integer); // the database declares it: kept
    for (const QString &code : {QStringLiteral("0001"), QStringLiteral("NONE")}) {
        SCOPED_TRACE(code.toStdString());
        query.close();
        query.setParam(QStringLiteral("P"), code);
        const dataset::Table table = dataset::Table::fromPacket(db::packetOf(query));
        EXPECT_EQ(table.field(QStringLiteral("NMFANVEN")).type, FieldType::String);
        if (!sqlite())
            continue; // the server types its expressions itself
        EXPECT_EQ(table.field(QStringLiteral("POSICAO")).type, FieldType::Float);
        EXPECT_EQ(table.field(QStringLiteral("ECO")).type, FieldType::String);
        if (table.recordCount() == 1) {
            EXPECT_EQ(table.value(QStringLiteral("POSICAO")).typeId(), QMetaType::Double);
            EXPECT_EQ(table.text(QStringLiteral("ECO")), code);
        }
    }
    if (sqlite()) {
        // Values are converted to the set type, and one it cannot hold is an error, as for a declared column.
        query.setColumnType(QStringLiteral("ECO"), FieldType::Integer);
        query.setParam(QStringLiteral("P"), QStringLiteral("0001"));
        const dataset::Table table = dataset::Table::fromPacket(db::packetOf(query));
        EXPECT_EQ(table.value(QStringLiteral("ECO")), QVariant(qlonglong(1)));
        query.setColumnType(QStringLiteral("POSICAO"), FieldType::Date);
        EXPECT_THROW(db::packetOf(query), tkt::Error);
    }
}

TEST_P(QueryOnBackend, eachRunDescribesItsOwnRows)
{
    // A field list handed out by one run is not changed by the next, and a run whose longest text
    // differs gets a width that fits it.
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT UPPER(NMFANVEN) AS NOME FROM VENDEDOR WHERE CDVENDEDOR = :P"));
    auto widthFor = [&](const QString &code, dataset::FieldList *kept = nullptr) {
        query.close();
        query.setParam(QStringLiteral("P"), code);
        query.open();
        const dataset::Table table = query.fetchAll();
        if (kept)
            *kept = table.fields();
        return table.fields().at(0).width;
    };
    dataset::FieldList first;
    const int ana = widthFor(QStringLiteral("0001"), &first);
    const int bruno = widthFor(QStringLiteral("0002"));
    EXPECT_GE(bruno, 5);
    if (sqlite()) {
        EXPECT_EQ(ana, 3);
        EXPECT_EQ(widthFor(QStringLiteral("0001")), 3);
    }
    EXPECT_EQ(first.at(0).width, ana);
    EXPECT_EQ(widthFor(QStringLiteral("0002")), bruno);
}

TEST_P(QueryOnBackend, dateTimesAreReadAsStoredInAnyLocalZone)
{
    // A store in São Paulo: the first hour of 2018-11-04 never happened on its clocks, yet a
    // check-in or a birth recorded at that hour must come back as recorded, not fail the query.
    const testzone::LocalZone zone(testzone::kSaoPaulo);
    ASSERT_TRUE(testzone::inDaylightGap(QDate(2018, 11, 4), QTime(0, 30))) << "the tzdata package is missing";
    dbtest::exec(connection, QStringLiteral(
        "INSERT INTO VENDEDOR VALUES ('0004', 'DORA', '0001', 1, 4, '2018-11-04', '2018-11-04 00:30:00')"));
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT DTNASC, DTCAD FROM VENDEDOR WHERE CDVENDEDOR = '0004'"));
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("DTCAD")), QStringLiteral("2018-11-04T00:30:00"));
    const dataset::Table table = query.fetchAll();
    EXPECT_EQ(table.text(QStringLiteral("DTCAD")), QStringLiteral("2018-11-04T00:30:00"));
    EXPECT_EQ(table.text(QStringLiteral("DTNASC")), QStringLiteral("2018-11-04"));
}

TEST_P(QueryOnBackend, packetOfRunsAndStopsAQueryItStarted)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT CDVENDEDOR, NMFANVEN FROM VENDEDOR WHERE CDFILIAL = :P_CDFILIAL ORDER BY CDVENDEDOR"));
    query.setParam(QStringLiteral("P_CDFILIAL"), QStringLiteral("0001"));
    const dataset::packet::Contents all = dataset::packet::decode(db::packetOf(query));
    EXPECT_FALSE(query.active());
    ASSERT_EQ(all.rows.size(), 2);
    EXPECT_EQ(all.rows[1][0].toString(), QStringLiteral("0003"));
    EXPECT_EQ(all.fields[1].width, 21);

    query.open();
    query.next();
    const dataset::packet::Contents rest = dataset::packet::decode(db::packetOf(query));
    EXPECT_TRUE(query.active());
    ASSERT_EQ(rest.rows.size(), 1);
    EXPECT_EQ(rest.rows[0][0].toString(), QStringLiteral("0003"));
    query.close();

    query.setParam(QStringLiteral("P_CDFILIAL"), QStringLiteral("9999"));
    const dataset::packet::Contents none = dataset::packet::decode(db::packetOf(query));
    EXPECT_TRUE(none.rows.isEmpty());
    EXPECT_EQ(none.fields.size(), 2);
}

TEST_P(QueryOnBackend, reopenAfterSetParamBindsTheNewValue)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT NMFANVEN FROM VENDEDOR WHERE CDVENDEDOR = :P_CD"));
    query.setParam(QStringLiteral("P_CD"), QStringLiteral("0001"));
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("ANA"));
    query.setParam(QStringLiteral("P_CD"), QStringLiteral("0002"));
    query.open(); // already open: runs nothing
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("ANA"));
    query.close();
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("BRUNO"));
    EXPECT_FALSE(query.isEmpty());
    query.next();
    EXPECT_TRUE(query.eof());
    EXPECT_FALSE(query.isEmpty());

    query.close();
    query.setParam(QStringLiteral("P_CD"), QStringLiteral("none"));
    query.open();
    EXPECT_TRUE(query.isEmpty());
    EXPECT_TRUE(query.eof());

    // A new text runs with the values its parameters had under any earlier text, whatever the case.
    query.setParam(QStringLiteral("p_cd"), QStringLiteral("0002"));
    query.setSql(QStringLiteral("SELECT NMFANVEN FROM VENDEDOR WHERE NMFANVEN = :P_NOME"));
    EXPECT_TRUE(query.param(QStringLiteral("P_NOME")).isNull());
    query.setParam(QStringLiteral("P_NOME"), QStringLiteral("ANA"));
    query.setSql(QStringLiteral("SELECT NMFANVEN FROM VENDEDOR WHERE CDVENDEDOR = :P_CD OR NMFANVEN = :p_nome "
                                "ORDER BY NMFANVEN"));
    EXPECT_EQ(query.parameterNames(), QStringList({QStringLiteral("P_CD"), QStringLiteral("P_NOME")}));
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("ANA"));
    query.next();
    EXPECT_EQ(query.text(QStringLiteral("NMFANVEN")), QStringLiteral("BRUNO"));
}

TEST_P(QueryOnBackend, mistakesAreReportedAsErrors)
{
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT NMFANVEN FROM VENDEDOR WHERE CDVENDEDOR = :P_CD"));
    EXPECT_THROW(query.setParam(QStringLiteral("P_OTHER"), QStringLiteral("x")), tkt::Error);
    query.setParam(QStringLiteral("P_CD"), QStringLiteral("0001"));
    query.open();
    EXPECT_THROW(query.value(QStringLiteral("NO_SUCH_COLUMN")), tkt::Error);

    db::Query broken(connection);
    broken.setSql(QStringLiteral("SELECT X FROM NO_SUCH_TABLE"));
    try {
        broken.open();
        FAIL() << "a query on a missing table ran";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("NO_SUCH_TABLE"), Qt::CaseInsensitive))
            << e.message().toStdString();
    }
    EXPECT_FALSE(broken.active());
}

TEST_P(QueryOnBackend, closingAQueryMidwayLetsWritersIn)
{
    // A SQLite statement left standing on a row keeps its read lock, and the registration dialog
    // could never commit.
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT CDVENDEDOR FROM VENDEDOR"));
    query.open();
    ASSERT_FALSE(query.eof());
    query.close();

    db::Connection writer;
    writer.setConnectionString(m_connectionString);
    writer.open();
    QSqlQuery insert(writer.database());
    ASSERT_TRUE(insert.exec(QStringLiteral("INSERT INTO VENDEDOR (CDVENDEDOR) VALUES ('0004')")))
        << insert.lastError().text().toStdString();
    insert.finish();
    query.open();
    EXPECT_EQ(dataset::packet::decode(db::packetOf(query)).rows.size(), 4);
}

TEST_P(QueryOnBackend, closingTheConnectionReleasesItsQueriesQuietly)
{
    dbtest::WarningLog warnings;
    {
        auto query = std::make_unique<db::Query>(connection);
        query->setSql(QStringLiteral("SELECT CDVENDEDOR FROM VENDEDOR ORDER BY CDVENDEDOR"));
        query->open();
        const int before = connection.generation();
        connection.close();
        EXPECT_FALSE(query->active());
        EXPECT_THROW(query->open(), tkt::Error);
        connection.open();
        EXPECT_EQ(connection.generation(), before + 1);
        query->open(); // prepared again on the new connection
        EXPECT_EQ(query->text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0001"));

        // A query may outlive its connection, as members of a data module are destroyed in turn.
        auto shortLived = std::make_unique<db::Connection>();
        shortLived->setConnectionString(m_connectionString);
        shortLived->open();
        db::Query orphan(*shortLived);
        orphan.setSql(QStringLiteral("SELECT CDVENDEDOR FROM VENDEDOR"));
        orphan.open();
        shortLived.reset();
        EXPECT_FALSE(orphan.active());
    }
    EXPECT_TRUE(warnings.messages().isEmpty()) << warnings.messages().join(u'\n').toStdString();
}

TEST_P(QueryOnBackend, eventsRunAroundTheConnect)
{
    db::Connection other;
    QStringList trail;
    other.beforeConnect = [&](db::Connection &c) {
        trail << QStringLiteral("before");
        c.setConnectionString(m_connectionString);
    };
    other.afterConnect = [&](db::Connection &c) {
        trail << QStringLiteral("after:") + db::dbKindName(c.kind());
        EXPECT_TRUE(c.connected());
    };
    other.open();
    other.open();
    EXPECT_EQ(trail, (QStringList{QStringLiteral("before"),
                                  QStringLiteral("after:") + (sqlite() ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"))}));
    EXPECT_EQ(other.kind(), sqlite() ? db::DbKind::SQLite : db::DbKind::PostgreSQL);
}

INSTANTIATE_TEST_SUITE_P(Backends, QueryOnBackend, ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         dbtest::backendName);

TEST(QueryOnPostgreSQL, aReadWhoseConnectionDiedRunsAgainOnAFreshOne)
{
    const QString connectionString = dbtest::PgDatabase::instance().connectionString();
    if (connectionString.isEmpty())
        GTEST_SKIP() << "TKT_PG_ODBC is not set";
    db::Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT pg_backend_pid() AS PID, :P_X AS X"));
    query.setParam(QStringLiteral("P_X"), QStringLiteral("x"));
    const QString pid = dataset::packet::decode(db::packetOf(query)).rows.value(0).value(0).toString();
    ASSERT_FALSE(pid.isEmpty());

    db::Connection killer;
    killer.setConnectionString(connectionString);
    killer.open();
    dbtest::exec(killer, QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));

    const dataset::packet::Contents again = dataset::packet::decode(db::packetOf(query));
    ASSERT_EQ(again.rows.size(), 1);
    EXPECT_NE(again.rows[0][0].toString(), pid) << "the read ran on a fresh server connection";
    EXPECT_EQ(again.rows[0][1].toString(), QStringLiteral("x")) << "with the same parameter values";
    EXPECT_FALSE(query.active());

    // A failure of the statement itself is not run again.
    query.setSql(QStringLiteral("SELECT 1 / (:P_X = 'y')::int AS Q"));
    EXPECT_THROW(db::packetOf(query), tkt::Error);
    EXPECT_TRUE(connection.connected());
}

TEST(ConnectionFailure, refusedConnectionsExplainWhyWithoutThePassword)
{
    struct Case {
        QString connectionString;
        QString reason;
    };
    const Case cases[] = {
        {QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;"
                        "Uid=caixa;Pwd=Segredo#123"),
         QStringLiteral("127.0.0.1")},
        {QStringLiteral("Provider=SQLite;Data Source=%1/no/such/folder/x.db;Password=Segredo#123").arg(QDir::tempPath()),
         QStringLiteral("unable to open")},
        {QStringLiteral("Provider=SQLOLEDB.1;Data Source=127.0.0.1,1;Initial Catalog=LOJA;User ID=sa;"
                        "Password=Segredo#123;Connect Timeout=5"),
         QString()},
    };
    for (const Case &c : cases) {
        db::Connection connection;
        connection.setConnectionString(c.connectionString);
        try {
            connection.open();
            ADD_FAILURE() << "connected: " << c.connectionString.toStdString();
        } catch (const tkt::Error &e) {
            const QString text = e.message();
            EXPECT_TRUE(text.startsWith(QStringLiteral("Não foi possível conectar ao banco de dados: "))) << text.toStdString();
            EXPECT_GT(text.size(), 50) << "no reason given: " << text.toStdString();
            EXPECT_TRUE(text.contains(c.reason, Qt::CaseInsensitive)) << text.toStdString();
            EXPECT_FALSE(text.contains(QLatin1String("Segredo"))) << text.toStdString();
        }
        EXPECT_FALSE(connection.connected());
    }
}

} // namespace

namespace {

// SQLite keeps whatever it is given, whatever the declared type says.
TEST(QueryOnSQLite, valuesBeyondTheirDeclarationAreWidenedOrRefused)
{
    QTemporaryDir dir;
    db::Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(dir.filePath(QStringLiteral("t.db"))));
    connection.open();
    dbtest::exec(connection, QStringLiteral("CREATE TABLE T (CODE VARCHAR(2), QTY INTEGER)"));
    dbtest::exec(connection, QStringLiteral("INSERT INTO T VALUES ('ABCDE', 1)"));

    db::Query query(connection);
    query.setSql(QStringLiteral("SELECT CODE, QTY FROM T"));
    const dataset::packet::Contents packet = dataset::packet::decode(db::packetOf(query));
    EXPECT_EQ(packet.fields[0].width, 5); // a declared width the rows do not keep would truncate them

    dbtest::exec(connection, QStringLiteral("INSERT INTO T VALUES ('X', 'many')"));
    try {
        db::packetOf(query);
        FAIL() << "a text in an INTEGER column passed as a number";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("QTY"))) << e.message().toStdString();
    }
    EXPECT_FALSE(query.active());
}

} // namespace

namespace {

// A database file another program holds locked waits at most the connection's Command Timeout,
// then says the store's database did not answer in time.
TEST(QueryOnSQLite, aLockedFileWaitsAtMostTheCommandTimeout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("locked.db"));
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(file);
    ASSERT_TRUE(holder.open());
    {
        QSqlQuery setup(holder);
        ASSERT_TRUE(setup.exec(QStringLiteral("CREATE TABLE MESA (NRMESA VARCHAR(4))")));
        ASSERT_TRUE(setup.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    {
        db::Connection connection;
        connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1;Command Timeout=2").arg(file));
        connection.open();
        db::Query query(connection);
        query.setSql(QStringLiteral("SELECT NRMESA FROM MESA"));
        QElapsedTimer waited;
        waited.start();
        try {
            query.open();
            FAIL() << "read a file another connection holds locked";
        } catch (const tkt::Timeout &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("não respondeu em 2 segundos"))) << e.what();
        }
        EXPECT_LT(waited.elapsed(), 6000);
    }
    QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

} // namespace
