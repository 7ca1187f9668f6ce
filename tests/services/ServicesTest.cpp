// The five services against the same rows on every back end: the embedded SQLite database and
// PostgreSQL and SQL Server through ODBC.
#include "services/ServiceBackends.h"
#include "support/QtPrinters.h"

#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/SharedServices.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"

#include <gtest/gtest.h>

using namespace Srv_tkt00740;

namespace {

dataset::Table packetTable(const QVariant &result)
{
    if (result.typeId() != QMetaType::QByteArray) {
        ADD_FAILURE() << "service answered an error: " << result.toString().toStdString();
        return {};
    }
    return dataset::Table::fromPacket(result.toByteArray());
}

QStringList column(dataset::Table table, const QString &name)
{
    QStringList values;
    for (table.first(); !table.eof(); table.next())
        values << table.text(name);
    return values;
}

QStringList fieldNames(const dataset::Table &table)
{
    QStringList names;
    for (const auto &f : table.fields())
        names << f.name;
    return names;
}

class ServicesTest : public ::testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        m_backend = serviceBackend(GetParam());
        if (!m_backend)
            GTEST_SKIP() << GetParam().toStdString() << " is not configured (TKT_PG_ODBC, TKT_MSSQL)";
        m_connection.emplace(m_backend->connectionString);
        createDataModule().adcConfComanda.open();
    }
    void TearDown() override { freeDataModule(); }

    std::optional<ServiceBackend> m_backend;
    std::optional<ScopedConnectionString> m_connection;
};

QString verdictOf(const QString &code, const QString &mode)
{
    dataset::Table t = packetTable(getValidaGarcom(code, QStringLiteral("0001"), QStringLiteral("001"), mode));
    EXPECT_EQ(fieldNames(t), QStringList({"CDVENDEDOR", "NMFANVEN", "CDOPERADOR", "CDFILIAL", "CDCAIXA", "HABILITADO"}));
    EXPECT_LE(t.recordCount(), 1);
    t.first();
    return t.isEmpty() ? QStringLiteral("<none>") : t.text(QStringLiteral("HABILITADO"));
}

TEST_P(ServicesTest, WaiterVerdictsFollowTheRulesInOrder)
{
    struct Case { const char *code, *mode, *verdict, *why; };
    const Case cases[] = {
        {"0001", "1", "S", "bound to this branch, free of any till"},
        {"0002", "1", "F", "other branch and other till: the branch rule comes first"},
        {"0003", "1", "C", "free of branch, other till: decided before any operator lookup"},
        {"0004", "1", "S", "free of branch and till, operator linked to this branch"},
        {"0005", "1", "N", "blank branch (spaces), operator linked only to another branch"},
        {"0044", "1", "S", "operator code linked through its 12-character form"},
        {"0008", "1", "S", "bound to this branch and this till"},
        {"0002", "2", "S", "lookup mode does not judge"},
        {"0003", "x", "S", "any mode but 1 looks up"},
        {"0006", "1", "<none>", "operator missing"},
        {"0006", "2", "<none>", "operator missing, lookup mode"},
        {"0007", "1", "<none>", "operator inactive"},
        {"0007", "2", "<none>", "operator inactive, lookup mode"},
        {"t", "1", "<none>", "lower-case t is an ordinary code"},
        {"9999", "1", "<none>", "no such waiter"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(verdictOf(QLatin1String(c.code), QLatin1String(c.mode)), QLatin1String(c.verdict)) << c.why;
}

TEST_P(ServicesTest, JudgedFormCutsToWidthsWhileListFormKeepsTheDatabaseValues)
{
    dataset::Table judged = packetTable(getValidaGarcom("0008", "0001", "001", "1"));
    const QList<int> widths = {4, 50, 12, 4, 3, 1};
    for (int i = 0; i < widths.size(); ++i) {
        EXPECT_EQ(judged.fields().at(i).width, widths.at(i)) << judged.fields().at(i).name.toStdString();
        EXPECT_EQ(judged.fields().at(i).type, dataset::FieldType::String);
    }
    judged.first();
    const QString fullName = QStringLiteral("Conceição Aparecida dos Santos Albuquerque de Oliveira Jr");
    EXPECT_EQ(judged.text("NMFANVEN"), fullName.left(50));
    EXPECT_EQ(judged.text("CDOPERADOR"), "000000000008");

    dataset::Table list = packetTable(getValidaGarcom("T", "0001", "001", "1"));
    EXPECT_EQ(fieldNames(list), fieldNames(judged));
    QStringList codes = column(list, "CDVENDEDOR");
    codes.sort();
    EXPECT_EQ(codes, QStringList({"0001", "0002", "0003", "0004", "0005", "0008", "0044"}));
    for (const QString &v : column(list, "HABILITADO"))
        EXPECT_EQ(v, " ");
    EXPECT_EQ(list.field("HABILITADO").width, 1);
    EXPECT_TRUE(list.locate("CDVENDEDOR", "0008"));
    EXPECT_EQ(list.text("NMFANVEN"), fullName);
}

TEST_P(ServicesTest, TablesOfTheBranchStore)
{
    dataset::Table all = packetTable(getValMesa("0001", "0001", "T"));
    EXPECT_EQ(fieldNames(all), QStringList({"NRMESA", "NMMESA", "IDSTMESAAUX"}));
    QStringList numbers = column(all, "NRMESA");
    numbers.sort();
    EXPECT_EQ(numbers, QStringList({"0001", "0002", "0003"}));

    dataset::Table one = packetTable(getValMesa("0001", "0001", "0003"));
    ASSERT_EQ(one.recordCount(), 1);
    one.first();
    EXPECT_EQ(one.text("NMMESA"), "Salão");
    EXPECT_EQ(one.text("IDSTMESAAUX"), "O");

    dataset::Table otherStore = packetTable(getValMesa("0001", "0001", "0009"));
    EXPECT_EQ(otherStore.recordCount(), 0);
    EXPECT_EQ(otherStore.fields().size(), 3) << "an empty answer still carries its field list";
}

TEST_P(ServicesTest, ConsumerFoundByAnyOfItsCodesWithinItsClient)
{
    const QString client1 = QStringLiteral("000000000000000000001");
    for (const QString &code : {QStringLiteral("0000012345"), QStringLiteral("EXT-101"),
                               QStringLiteral("000000000000000000101")}) {
        dataset::Table t = packetTable(getValidaCons(code, client1));
        EXPECT_EQ(fieldNames(t), QStringList({"CDCLIENTE", "CDCONSUMIDOR", "NMCONSUMIDOR", "CDCONSUMID"}));
        ASSERT_EQ(t.recordCount(), 1) << code.toStdString();
        t.first();
        EXPECT_EQ(t.text("NMCONSUMIDOR"), "João");
        EXPECT_EQ(t.text("CDCONSUMID"), code) << "the given code is echoed";
    }
    dataset::Table other = packetTable(getValidaCons("0000012345", "000000000000000000002"));
    ASSERT_EQ(other.recordCount(), 1);
    other.first();
    EXPECT_EQ(other.text("NMCONSUMIDOR"), "Maria");

    EXPECT_EQ(packetTable(getValidaCons("EXT-101", "000000000000000000002")).recordCount(), 0)
        << "consumer of another client";
    EXPECT_EQ(packetTable(getValidaCons("0000099999", client1)).recordCount(), 0) << "situation other than 1";
}

TEST_P(ServicesTest, ComandaFiltersAndOrder)
{
    auto codes = [](const QString &comanda, const QString &all) {
        return column(packetTable(getValComanda("0001", "0001", comanda, all, "4")), "DSCOMANDA");
    };
    EXPECT_EQ(codes("15", ""), QStringList({"15"}));
    EXPECT_EQ(codes("16", ""), QStringList()) << "state 4 is excluded";
    EXPECT_EQ(codes("A20", ""), QStringList({"A20"})) << "any other state is listed";
    EXPECT_EQ(codes("DLV_3", ""), QStringList()) << "prefixes are always excluded";
    EXPECT_EQ(codes("12", ""), QStringList({"12"})) << "a code shorter than four characters is listed";
    EXPECT_EQ(codes("17", ""), QStringList()) << "comanda of another store";
    EXPECT_EQ(codes("", "T"), QStringList({"12", "15", "16", "A20", "RESX9"}))
        << "all-flag T: every code and state but the prefixes, ordered by code";
    EXPECT_EQ(codes("15", "t"), QStringList({"15"})) << "lower-case t is not the all-flag";
    EXPECT_EQ(codes("15", QString()), QStringList({"15"})) << "a null all-flag is not the all-flag";
    EXPECT_EQ(codes("15", "T"), QStringList({"12", "15", "16", "A20", "RESX9"}))
        << "the all-flag lists the named comanda once, with the others";

    dataset::Table t = packetTable(getValComanda("0001", "0001", "15", "", "4"));
    EXPECT_EQ(fieldNames(t), QStringList({"POSICAO", "DSCOMANDA", "NRCOMANDA", "NRVENDAREST", "SGSEXOCON",
                                          "DSCOMANDAPRI", "CDVENDEDOR", "NRMESA", "CDCONSUMIDOR", "CDCLIENTE",
                                          "DTHRABERMESA"}));
    EXPECT_EQ(t.field("POSICAO").type, dataset::FieldType::Float) << "numeric columns arrive as floating point";
    t.first();
    EXPECT_EQ(t.value("POSICAO").toDouble(), 1.0);
    const dataset::Table none = packetTable(getValComanda("0001", "0001", "NONE", "", "4"));
    EXPECT_EQ(none.recordCount(), 0);
    EXPECT_EQ(none.field("POSICAO").type, dataset::FieldType::Float) << "also when no comanda is found";
}

TEST_P(ServicesTest, ConsumersWithComandasLeaveOutResAndAnyFourthCharacter)
{
    dataset::Table t = packetTable(getConsComan("0001"));
    ASSERT_GT(t.fields().size(), 5);
    EXPECT_EQ(t.fields().first().name, "DSCOMANDA");
    EXPECT_TRUE(t.hasField("CDCONSUMIDOR"));
    EXPECT_TRUE(t.hasField("NMCONSUMIDOR"));
    QStringList codes = column(t, "DSCOMANDA");
    codes.sort();
    EXPECT_EQ(codes, QStringList({"12", "15", "16", "17", "A20", "DLV_3", "PKR_2"}))
        << "each comanda once: a sale of another branch with the same number is not its sale";
    ASSERT_TRUE(t.locate("DSCOMANDA", "15"));
    EXPECT_EQ(t.text("NMCONSUMIDOR"), "João");
}

TEST_P(ServicesTest, HostileTextsFindNothingAndBreakNothing)
{
    const QString hostile[] = {
        QStringLiteral("'"), QStringLiteral("' OR '1'='1"), QStringLiteral("0001' OR 'T'='T"),
        QStringLiteral("T' --"), QStringLiteral(";-- DROP TABLE MESA"), QString(10000, QLatin1Char('T')),
        QStringLiteral("00") + QChar(0) + QStringLiteral("01"), QStringLiteral("日本語テキスト"),
        QStringLiteral("%"), QStringLiteral("_"), QStringLiteral(":P_CDFILIAL"),
    };
    for (const QString &h : hostile) {
        const QVariant answers[] = {
            getValidaGarcom(h, "0001", "001", "1"), getValidaGarcom(h, h, h, h), getValMesa("0001", "0001", h),
            getValMesa(h, h, h), getValidaCons(h, "000000000000000000001"), getValidaCons(h, h), getConsComan(h),
            getValComanda("0001", "0001", h, "", "4"), getValComanda(h, h, h, h, h),
        };
        for (const QVariant &a : answers) {
            if (a.typeId() == QMetaType::QByteArray)
                EXPECT_EQ(dataset::Table::fromPacket(a.toByteArray()).recordCount(), 0) << h.left(40).toStdString();
            else
                EXPECT_EQ(a.typeId(), QMetaType::QString);
        }
    }
    EXPECT_EQ(packetTable(getValMesa("0001", "0001", "T")).recordCount(), 3) << "the tables are still there";
    EXPECT_EQ(verdictOf("0001", "1"), "S") << "the data module still answers";
}

INSTANTIATE_TEST_SUITE_P(Backends, ServicesTest,
                         ::testing::Values(QStringLiteral("sqlite"), QStringLiteral("postgresql"), QStringLiteral("sqlserver")),
                         [](const auto &info) { return info.param.toStdString(); });

TEST(ServicesWithoutDataModule, AnswerWithAnErrorText)
{
    freeDataModule();
    const QVariant r = getValMesa("0001", "0001", "T");
    ASSERT_EQ(r.typeId(), QMetaType::QString);
    EXPECT_FALSE(r.toString().isEmpty());
}

} // namespace

namespace {

// A packet as text: its field list (name, type, width), then its rows sorted, since a server may
// order rows of equal keys, or keys under its collation, otherwise.
std::string packetText(const QVariant &answer)
{
    if (answer.typeId() != QMetaType::QByteArray)
        return "error: " + answer.toString().toStdString();
    const dataset::packet::Contents contents = dataset::packet::decode(answer.toByteArray());
    QStringList fields;
    for (const dataset::Field &f : contents.fields)
        fields << QStringLiteral("%1:%2:%3").arg(f.name, dataset::fieldTypeName(f.type)).arg(f.width);
    QStringList rows;
    for (const dataset::Row &row : contents.rows) {
        QStringList cells;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QVariant &v = row[i];
            cells << (dataset::isNullValue(v) ? QStringLiteral("<null>")
                                              : QStringLiteral("%1=%2").arg(QLatin1String(v.typeName()),
                                                                           dataset::valueText(contents.fields[i].type, v)));
        }
        rows << cells.join(u'|');
    }
    rows.sort();
    return (fields.join(u' ') + u'\n' + rows.join(u'\n')).toStdString();
}

// The same rows reach the host as the same packet on every back end: field names, types, widths,
// and values with their types (a number as a number, a date as a date, a text in full).
TEST(ServicePacketsAcrossBackEnds, TheSameRowsAreTheSamePacket)
{
    const auto answers = [] {
        return std::vector<QVariant>{
            getValidaGarcom("T", "0001", "001", "1"), getValidaGarcom("0008", "0001", "001", "1"),
            getValMesa("0001", "0001", "T"), getValidaCons("0000012345", "000000000000000000001"),
            getConsComan("0001"), getValComanda("0001", "0001", "", "T", "4"),
            getValComanda("0001", "0001", "NONE", "", "4"),
        };
    };
    const auto sqlite = serviceBackend(QStringLiteral("sqlite"));
    std::vector<std::string> expected;
    {
        ScopedConnectionString scoped(sqlite->connectionString);
        createDataModule().adcConfComanda.open();
        for (const QVariant &a : answers())
            expected.push_back(packetText(a));
        freeDataModule();
    }
    int compared = 0;
    for (const QString &name : {QStringLiteral("postgresql"), QStringLiteral("sqlserver")}) {
        const auto server = serviceBackend(name);
        if (!server)
            continue;
        ++compared;
        ScopedConnectionString scoped(server->connectionString);
        createDataModule().adcConfComanda.open();
        const std::vector<QVariant> got = answers();
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(packetText(got[i]), expected[i]) << name.toStdString() << ", call " << i + 1;
        freeDataModule();
    }
    if (compared == 0)
        GTEST_SKIP() << "neither TKT_PG_ODBC nor TKT_MSSQL is set: no server to compare with";
}

} // namespace
