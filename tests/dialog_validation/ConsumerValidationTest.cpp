// The consumer branch of Vd_Geral on the demo store, on SQLite and (when configured) PostgreSQL:
// what the typed text is taken for, the pick list, the registration offer and the inactive consumer.
#include "dialog/DialogHarness.h"
#include "dialog_validation/ValidationSupport.h"
#include "support/DemoDatabase.h"
#include "support/QtPrinters.h"

#include "contracts/Errors.h"
#include "contracts/TBlendedBitBtn.h"
#include "dataset/Table.h"

#include <QLabel>
#include <QRegularExpression>
#include <optional>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;
using namespace validation;

namespace {

const QString kConsNCad = "Consumidor não cadastrado.Deseja cadastrar ?";
const QString kCrachaBloq = "Deseja realizar a venda para este crachá bloqueado?";
const QString kEscopo = "Operação bloqueada. Consumidor inativo, favor verificar parametrização no sistema gestão de vendas.";

class ConsumerBranch : public testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        if (GetParam() != "SQLite") {
            const auto backend = GetParam() == "PostgreSQL" ? postgresDemo("validation")
                                                             : sqlServerDatabase("validation", true);
            if (!backend)
                GTEST_SKIP() << GetParam().toStdString() << " is not configured (TKT_PG_ODBC, TKT_MSSQL)";
            m_connectionString = backend->connectionString;
        }
    }

    void TearDown() override
    {
        // A server's demo is shared by the tests of this program: take back what was written.
        if (m_harness && !m_connectionString.isEmpty())
            for (const auto &[client, code] : m_inserted)
                deleteConsumer(m_connectionString, client, code);
        m_harness.reset();
    }

    // The dialog on the consumer field, consumer entry permitted, nothing preset.
    TfrmCriaComanda &open(const schema::DemoParameters &parameters = {}, const DialogPresets &presets = {})
    {
        m_harness.reset(); // one dialog, one set of fakes at a time
        m_harness = std::make_unique<DialogHarness>(true, parameters, m_connectionString);
        TfrmCriaComanda &f = m_harness->open(presets);
        f.selectField(1);
        siblings().clearCalls();
        return f;
    }

    bool validate(TfrmCriaComanda &f, const QString &typed)
    {
        f.lblCdcons()->setText(typed);
        return f.Vd_Geral();
    }

    void insert(const NewConsumer &c)
    {
        insertConsumer(m_harness->connectionString(), c);
        m_inserted.append({c.client, c.code});
    }
    std::function<contracts::CriaCadConsumidorFn> registering(const NewConsumer &c)
    {
        return [this, c](QString &code, QString &name, QString &client, const QString &) {
            insert(c);
            code = c.code;
            name = c.name;
            client = c.client;
            return true;
        };
    }

    ScriptedSiblings &siblings() { return m_harness->siblings; }
    QStringList messages() { return siblings().messages(); }
    // The form of the n-th Mensagem call: (a2, ask, kind) tell notice, question and badge question apart.
    QStringList formOf(int n) const
    {
        const auto args = m_harness->siblings.calls("Mensagem").at(n).arguments;
        return {args[1], args[3], args[4]};
    }
    const QStringList kNotice{"", "N", "3"};
    const QStringList kQuestion{"", "S", "3"};
    const QStringList kBadgeQuestion{"S", "S", "0"};

    QString m_connectionString; // empty: the harness's own SQLite demo
    std::unique_ptr<DialogHarness> m_harness;
    QList<std::pair<QString, QString>> m_inserted;
};

INSTANTIATE_TEST_SUITE_P(Demo, ConsumerBranch, testing::Values(QString("SQLite"), QString("PostgreSQL"), QString("SQLServer")),
                         [](const auto &info) { return info.param.toStdString(); });

TEST_P(ConsumerBranch, EmptyFieldRunsNoQueryAndAnswersByTheFinalRule)
{
    TfrmCriaComanda &f = open();
    f.lblNmCons()->setText("Nome antigo");
    EXPECT_FALSE(validate(f, "")) << "consumer entry permitted and no consumer held";
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_FALSE(f.adcInfComanda.connected()) << "no query ran";

    f.stCdConsumidor = "KEPT";
    f.stCdCliente = kClient2;
    EXPECT_TRUE(validate(f, ""));
    EXPECT_EQ(f.stCdConsumidor, "KEPT");
    EXPECT_EQ(f.stCdCliente, kClient2);

    f.stCdConsumidor.clear();
    f.spbPesqCons()->setEnabled(false);
    EXPECT_TRUE(validate(f, "")) << "consumer entry not permitted";
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(ConsumerBranch, BadgeComesBeforeConsumerCode)
{
    TfrmCriaComanda &f = open();
    ASSERT_FALSE(f.spbCredPes()->isEnabled());
    EXPECT_TRUE(validate(f, consumer(21))) << messages().join("; ").toStdString();
    EXPECT_EQ(f.stCdConsumidor, consumer(24)) << "consumer 24's badge is consumer 21's code";
    EXPECT_EQ(f.lblNmCons()->text(), "Luíza Brandão");
    EXPECT_EQ(f.stCdCliente, kClient1);
    EXPECT_EQ(f.lblCdcons()->text(), consumer(21)) << "the label keeps the text as typed";
    EXPECT_TRUE(f.spbCredPes()->isEnabled());
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_FALSE(f.consumerSearchSet().filtered()) << "the narrowing is taken off before returning";
    EXPECT_EQ(f.consumerSearchSet().recordCount(), 2) << "consumer 21 by code and consumer 24 by badge";
}

TEST_P(ConsumerBranch, AQueryListingTheColumnsInAnotherOrderGivesTheSameRows)
{
    // SQL Server's text lists DSREFERENDECONS among the address columns: the rows the dialog keeps
    // must not depend on the SELECT order.
    if (GetParam() != "SQLite")
        GTEST_SKIP() << "the reordered text is written for SQLite";
    TfrmCriaComanda &f = open();
    ASSERT_TRUE(validate(f, consumer(21)));
    const dataset::FieldList fields = f.consumerSearchSet().fields();
    const QList<dataset::Row> rows = f.consumerSearchSet().allRows();

    QString text = f.adqConsumidor.sql();
    const QString last = "CAST(CO.DSREFERENDECONS AS VARCHAR(400)) AS DSREFERENDECONS";
    const QRegularExpression lastColumn(",\\s*" + QRegularExpression::escape(last));
    ASSERT_TRUE(text.contains(lastColumn));
    text.replace(lastColumn, "");
    text.replace("CO.DSEMAILCONS,", "CO.DSEMAILCONS, " + last + ",");
    f.adqConsumidor.setSql(text);
    f.lblNmCons()->clear();
    ASSERT_TRUE(validate(f, consumer(21)));
    EXPECT_EQ(f.consumerSearchSet().fields(), fields);
    EXPECT_EQ(f.consumerSearchSet().allRows(), rows);
    EXPECT_EQ(f.stCdConsumidor, consumer(24));

    text.replace("CO.DSEMAILCONS, " + last + ",", "CO.DSEMAILCONS,");
    f.adqConsumidor.setSql(text);
    f.lblNmCons()->clear();
    EXPECT_FALSE(validate(f, consumer(21)));
    EXPECT_EQ(messages().value(0), "A consulta de consumidores não trouxe a coluna DSREFERENDECONS.");
}

TEST_P(ConsumerBranch, ShortFormsFindTheStoredCodeAndBadge)
{
    TfrmCriaComanda &f = open();
    EXPECT_TRUE(validate(f, "21"));
    EXPECT_EQ(f.stCdConsumidor, consumer(21));
    EXPECT_EQ(f.lblNmCons()->text(), "João da Conceição");
    EXPECT_EQ(f.lblCdcons()->text(), "21");
    EXPECT_TRUE(messages().isEmpty()) << "a consumer that exists is not offered for registration";

    f.lblNmCons()->clear();
    EXPECT_TRUE(validate(f, "12345")) << "badge 0000012345 typed without its zeros";
    EXPECT_EQ(f.stCdConsumidor, consumer(21));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(ConsumerBranch, OtherIdentifiersAreRecognisedInOrder)
{
    struct Case { QString typed; int consumer; };
    const Case cases[] = {{"EXT-0022", 22}, {"MG7654321", 22}, {"98765432100", 22}, {"RJ2223334", 24}};
    TfrmCriaComanda &f = open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        f.lblNmCons()->clear();
        EXPECT_TRUE(validate(f, c.typed));
        EXPECT_EQ(f.stCdConsumidor, consumer(c.consumer));
    }
    EXPECT_TRUE(messages().isEmpty());

    // The query finds an identity number whatever its letter case, the recognition only as stored.
    f.lblNmCons()->clear();
    siblings().answerMensagem(false);
    EXPECT_FALSE(validate(f, "Mg7654321"));
    EXPECT_EQ(messages(), QStringList{kConsNCad});
}

TEST_P(ConsumerBranch, OneBadgeUnderTwoClientsOpensThePickList)
{
    TfrmCriaComanda &f = open();
    QStringList rowsShown, visibleColumns, captions;
    siblings().script(contracts::Pesquisa, [&](dataset::Table &t, const QString &a2, const QString &a3, int a4, int,
                                               int, int, int a8) {
        EXPECT_EQ(a2, "");
        EXPECT_EQ(a3, "N");
        EXPECT_EQ(a4 + a8, 0);
        for (t.first(); !t.eof(); t.next())
            rowsShown << t.text("CDCONSUMIDOR");
        for (const dataset::Field &field : t.fields())
            if (field.visible) {
                visibleColumns << field.name;
                captions << field.label();
            }
        t.moveTo(1);
        return true;
    });
    EXPECT_TRUE(validate(f, "0000099999"));

    EXPECT_EQ(rowsShown, QStringList({consumer(26), consumer(31)})) << "main client first";
    EXPECT_EQ(visibleColumns, QStringList({"CDCLIENTE", "CDCONSUMIDOR", "NMCONSUMIDOR", "CDCCUSCLIE", "CDIDCONSUMID"}));
    EXPECT_EQ(captions, QStringList({"Cliente", "Cód. Consumidor", "Nome Consumidor", "Centro de Custo", "Crachá"}));
    EXPECT_EQ(f.stCdConsumidor, consumer(31));
    EXPECT_EQ(f.lblCdcons()->text(), consumer(31)) << "the picked code replaces the badge";
    EXPECT_EQ(f.lblNmCons()->text(), "Pedro Álvares Cabral");
    EXPECT_EQ(f.stCdCliente, kClient2);
    EXPECT_EQ(f.consumerSearchSet().fields().size(), 52);
    EXPECT_FALSE(f.consumerSearchSet().filtered());
}

TEST_P(ConsumerBranch, ClosingThePickListOrANameShownChangesNothing)
{
    TfrmCriaComanda &f = open();
    f.stCdCliente = "CLIENTE-ANTES";
    siblings().cancelPesquisa();
    EXPECT_TRUE(validate(f, "99999")) << "the short badge names the same two consumers";
    EXPECT_EQ(siblings().count("Pesquisa"), 1);
    EXPECT_EQ(f.stCdConsumidor, "99999");
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_EQ(f.stCdCliente, "CLIENTE-ANTES");

    f.lblNmCons()->setText("Escolhido antes");
    EXPECT_TRUE(validate(f, "0000099999"));
    EXPECT_EQ(siblings().count("Pesquisa"), 1) << "no second list";
    EXPECT_EQ(f.lblNmCons()->text(), "Escolhido antes");
    EXPECT_EQ(f.stCdConsumidor, "0000099999");
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(ConsumerBranch, FailingPickListIsANoticeAndLeavesTheRowsWhole)
{
    TfrmCriaComanda &f = open();
    siblings().script(contracts::Pesquisa, [](dataset::Table &, auto &&...) -> bool {
        throw tkt::Error("lista indisponível");
    });
    EXPECT_FALSE(validate(f, "0000099999"));
    EXPECT_EQ(messages(), QStringList{"lista indisponível"});
    EXPECT_EQ(formOf(0), kNotice);
    EXPECT_FALSE(f.consumerSearchSet().filtered());
    EXPECT_EQ(f.consumerSearchSet().recordCount(), 2);
}

TEST_P(ConsumerBranch, RegistrationDeclinedOrFailedClearsTheConsumer)
{
    TfrmCriaComanda &f = open();
    f.lblNmCons()->setText("Alguém");
    siblings().answerMensagem(false);
    EXPECT_FALSE(validate(f, "7070"));
    EXPECT_EQ(messages(), QStringList{kConsNCad});
    EXPECT_EQ(formOf(0), kQuestion);
    EXPECT_EQ(siblings().count("CriaCadConsumidor"), 0);
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_TRUE(f.stCdConsumidor.isEmpty());

    siblings().answerMensagem(true);
    siblings().cancelCadConsumidor();
    f.stCdCliente = kClient1;
    EXPECT_FALSE(validate(f, "7070"));
    const auto calls = siblings().calls("CriaCadConsumidor");
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].arguments, QStringList({"7070", f.stNmConsumidor, kClient1, "C"}));
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_TRUE(f.stCdConsumidor.isEmpty());
}

TEST_P(ConsumerBranch, RegisteredConsumerIsFoundByTheSearchQuery)
{
    TfrmCriaComanda &f = open();
    const NewConsumer fresh{kClient2, consumer(7071), "Consumidor Recém Cadastrado", "1", "0000070710", ""};
    siblings().answerMensagem(true);
    siblings().script(contracts::CriaCadConsumidor, registering(fresh));
    EXPECT_TRUE(validate(f, "7071")) << messages().join("; ").toStdString();
    EXPECT_EQ(f.stCdConsumidor, fresh.code);
    EXPECT_EQ(f.lblCdcons()->text(), fresh.code);
    EXPECT_EQ(f.lblNmCons()->text(), fresh.name);
    EXPECT_EQ(f.stCdCliente, kClient2);
    EXPECT_FALSE(f.spbCredPes()->isEnabled()) << "a registration does not enable the data button";
    EXPECT_EQ(f.consumerSearchSet().recordCount(), 1);
}

TEST_P(ConsumerBranch, RegisteredConsumerTheQueryCannotReturnIsNotHeld)
{
    TfrmCriaComanda &f = open();
    // Client 3 is linked to the branch but may not sell there.
    siblings().answerMensagem(true);
    siblings().saveCadConsumidor(consumer(41), "Cláudio Ribeiro", kClient3);
    EXPECT_FALSE(validate(f, "7072"));
    EXPECT_TRUE(f.stCdConsumidor.isEmpty());
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_TRUE(f.stCdCliente.isEmpty());
    EXPECT_EQ(f.lblCdcons()->text(), consumer(41));
}

TEST_P(ConsumerBranch, ConsumersOfClientsNotSellingHereAreNotFound)
{
    TfrmCriaComanda &f = open();
    siblings().setMensagemAnswer(false);
    EXPECT_FALSE(validate(f, "0000044444")) << "client 3: IDPERMVENDAQOR 'N'";
    EXPECT_FALSE(validate(f, "0000055555")) << "client 4: linked only to another branch";
    EXPECT_EQ(messages(), QStringList({kConsNCad, kConsNCad}));
}

TEST_P(ConsumerBranch, OnlyActiveConsumersWhenBothFlagsSaySo)
{
    schema::DemoParameters parameters;
    parameters.idExConsAtFil = "S";
    parameters.idExConsAtGer = "S";
    TfrmCriaComanda &f = open(parameters);
    EXPECT_TRUE(validate(f, "0000054321")) << "an active consumer is still found";
    siblings().answerMensagem(false);
    EXPECT_FALSE(validate(f, "0000077777"));
    EXPECT_EQ(messages(), QStringList{kConsNCad}) << "the inactive consumer's badge is not known";

    parameters.idExConsAtGer = "N";
    TfrmCriaComanda &g = open(parameters);
    siblings().answerMensagem(true);
    EXPECT_TRUE(validate(g, "0000077777")) << "one flag alone keeps every situation";
    EXPECT_EQ(messages(), QStringList{kCrachaBloq});
}

TEST_P(ConsumerBranch, InactiveConsumer)
{
    struct Case {
        const char *campFidel, *perVenInat;
        bool confirmed;
        std::optional<bool> answer; // the badge question's answer, when it is asked
        QStringList shown;
        bool result;
    };
    const Case cases[] = {
        {"N", "S", false, true, {kCrachaBloq}, true},
        {"N", "S", false, false, {kCrachaBloq, kEscopo}, false},
        {"N", "N", false, std::nullopt, {kEscopo}, false},
        {"N", "", false, std::nullopt, {kEscopo}, false},
        {"S", "N", false, std::nullopt, {}, true},
        {"", "N", false, std::nullopt, {}, true},
        {"N", "N", true, std::nullopt, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.campFidel) + "/" + c.perVenInat + (c.confirmed ? "/confirmed" : ""));
        schema::DemoParameters parameters;
        parameters.idConsCampFidel = c.campFidel;
        parameters.idPerVenConInat = c.perVenInat;
        TfrmCriaComanda &f = open(parameters);
        f.boConsConfirmado = c.confirmed;
        if (c.answer)
            siblings().answerMensagem(*c.answer);
        EXPECT_EQ(validate(f, "0000077777"), c.result);
        EXPECT_EQ(messages(), c.shown);
        if (!c.shown.isEmpty() && c.answer) {
            EXPECT_EQ(formOf(0), kBadgeQuestion);
        }
        if (c.shown.size() > (c.answer ? 1 : 0)) {
            EXPECT_EQ(formOf(int(c.shown.size()) - 1), kNotice);
        }
        EXPECT_EQ(f.stCdConsumidor, consumer(23)) << "refused or not, the consumer stays";
        EXPECT_EQ(f.lblNmCons()->text(), "Sebastião Inácio");
        EXPECT_EQ(f.lblCdcons()->text(), "0000077777");
    }
}

TEST_P(ConsumerBranch, QuotesAndPatternCharactersAreJustText)
{
    TfrmCriaComanda &f = open();
    insert({kClient1, consumer(7073), "Padrão Um", "1", "", "EXT-%"});
    insert({kClient1, consumer(7074), "Aspas", "1", "", "O'X*[1]"});
    siblings().setMensagemAnswer(false);
    for (const QString typed : {"' OR '1'='1", "%", "*", "[", "EXT-_0%"}) {
        SCOPED_TRACE(typed.toStdString());
        siblings().clearCalls();
        EXPECT_FALSE(validate(f, typed));
        EXPECT_EQ(messages(), QStringList{kConsNCad});
        EXPECT_EQ(f.consumerSearchSet().recordCount(), 0);
    }
    for (const auto &[typed, code] : {std::pair{QString("EXT-%"), consumer(7073)}, {QString("O'X*[1]"), consumer(7074)}}) {
        SCOPED_TRACE(typed.toStdString());
        siblings().clearCalls();
        f.lblNmCons()->clear();
        EXPECT_TRUE(validate(f, typed));
        EXPECT_EQ(f.stCdConsumidor, code);
        EXPECT_TRUE(messages().isEmpty());
    }
}

TEST_P(ConsumerBranch, UnreachableDatabaseIsANotice)
{
    TfrmCriaComanda &f = open();
    siblings().script(contracts::_GetStringConexQor,
                      [](const QString &) { return QString("Provider=SQLite;Data Source=/nonexistent-dir/x/store.db"); });
    EXPECT_FALSE(validate(f, "0000012345"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(formOf(0), kNotice);
    EXPECT_EQ(f.stCdConsumidor, "0000012345") << "what was already set stays";
}

TEST_P(ConsumerBranch, OneRoundTripPerValidation)
{
    if (GetParam() != "PostgreSQL")
        GTEST_SKIP() << "counted in the PostgreSQL server log";
    TfrmCriaComanda &f = open();
    ServerLog log(m_connectionString);
    if (!log.available())
        GTEST_SKIP() << "no server log (TKT_PG_LOG)";
    const auto lookups = [&log] {
        int n = 0;
        for (const QString &line : log.linesSinceMark())
            if (line.contains(QRegularExpression("LOG:  (execute [^:]*|statement): -- The consumer lookup")))
                ++n;
        return n;
    };
    siblings().setMensagemAnswer(false);
    for (const QString typed : {"0000012345", "0000099999", "7075"}) {
        SCOPED_TRACE(typed.toStdString());
        f.lblNmCons()->clear();
        log.mark();
        validate(f, typed);
        EXPECT_EQ(lookups(), 1);
    }

    const NewConsumer fresh{kClient1, consumer(7076), "Outro Recém Cadastrado", "1", "", ""};
    siblings().answerMensagem(true);
    siblings().script(contracts::CriaCadConsumidor, registering(fresh));
    log.mark();
    EXPECT_TRUE(validate(f, "7076"));
    EXPECT_EQ(lookups(), 2) << "the search query runs once more after a registration";
}

} // namespace

namespace {

// Every comanda opens a fresh dialog: its first validation is the one operators meet, and on a
// server reached over a network each statement is a wait of its own.
TEST_P(ConsumerBranch, AFreshDialogsFirstValidationSendsOneStatement)
{
    if (GetParam() != "PostgreSQL")
        GTEST_SKIP() << "counted in the PostgreSQL server log";
    open();
    siblings().setMensagemAnswer(false);
    validate(m_harness->dialog(), "0000054321");
    TfrmCriaComanda &f = open(); // the next comanda's dialog
    ServerLog log(m_connectionString);
    if (!log.available())
        GTEST_SKIP() << "no server log (TKT_PG_LOG)";
    log.mark();
    EXPECT_TRUE(validate(f, "0000054321"));
    EXPECT_EQ(f.stCdConsumidor, consumer(22));
    QStringList statements;
    for (const QString &line : log.linesSinceMark())
        if (line.contains(QRegularExpression("LOG:  (execute [^:]*|statement):")))
            statements << line;
    EXPECT_EQ(statements.size(), 1) << statements.join('\n').toStdString();
}

} // namespace
