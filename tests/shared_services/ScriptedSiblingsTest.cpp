// The scripted fakes the dialog tests rely on: scripts used in order, the defaults behind them, and
// the routines put back afterwards.
#include "contracts/CommonUi.h"
#include "contracts/MessageForms.h"
#include "contracts/SharedServices.h"
#include "dataset/Table.h"
#include "support/ScriptedSiblings.h"

#include <gtest/gtest.h>

using namespace contracts;

namespace {

TEST(ScriptedSiblings, RecordsEveryCallWithItsArgumentsAsTexts)
{
    ScriptedSiblings siblings;
    notice(QStringLiteral("Mesa não cadastrada!"), QStringLiteral("002"));
    Ajusta(QStringLiteral("7"), 4);
    QVariant password;
    ControleSenhOper({QStringLiteral("002"), QStringLiteral("S"), false, QStringLiteral("0007")}, password);

    EXPECT_EQ(siblings.routinesCalled(),
              (QStringList{QStringLiteral("Mensagem"), QStringLiteral("Ajusta"), QStringLiteral("ControleSenhOper")}));
    const auto mensagem = siblings.calls(QStringLiteral("Mensagem")).value(0);
    EXPECT_EQ(mensagem.arguments,
              (QStringList{QStringLiteral("Mesa não cadastrada!"), QString(), QStringLiteral("N"), QStringLiteral("N"),
                           QStringLiteral("3"), QString(), QStringLiteral("002"), QStringLiteral("0"),
                           QStringLiteral("<null>")}));
    EXPECT_EQ(siblings.calls(QStringLiteral("Ajusta")).value(0).arguments,
              (QStringList{QStringLiteral("7"), QStringLiteral("4")}));
    EXPECT_EQ(siblings.calls(QStringLiteral("ControleSenhOper")).value(0).arguments.value(0),
              QStringLiteral("002|S|false|0007"));
    EXPECT_EQ(siblings.lastMessageText(), QStringLiteral("Mesa não cadastrada!"));
}

TEST(ScriptedSiblings, ScriptsAreUsedInOrderThenTheDefaultsAnswer)
{
    ScriptedSiblings siblings;
    siblings.answerMensagem(true);
    siblings.answerMensagem(false);
    siblings.answerMensagem(true);
    EXPECT_TRUE(question(QStringLiteral("a"), QString()));
    EXPECT_FALSE(question(QStringLiteral("b"), QString()));
    EXPECT_TRUE(question(QStringLiteral("c"), QString()));
    EXPECT_FALSE(question(QStringLiteral("d"), QString()));
    siblings.setMensagemAnswer(true);
    EXPECT_TRUE(badgeQuestion(QStringLiteral("e")));
    EXPECT_EQ(siblings.messages(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                                QStringLiteral("d"), QStringLiteral("e")}));

    QString value = QStringLiteral("antes");
    siblings.confirmTeclado(QStringLiteral("15"));
    EXPECT_TRUE(TecladoNumerico(value, QString(), QString(), QString(), 4, 0, 0, 0, 0, 0));
    EXPECT_EQ(value, QStringLiteral("15"));
    EXPECT_FALSE(TecladoNumerico(value, QString(), QString(), QString(), 4, 0, 0, 0, 0, 0));
    EXPECT_EQ(value, QStringLiteral("15"));
    EXPECT_EQ(siblings.pendingScripts(QStringLiteral("TecladoNumerico")), 0);

    QVariant password;
    EXPECT_TRUE(ControleSenhOper({}, password));
    siblings.answerSenhaOper(false);
    EXPECT_FALSE(ControleSenhOper({}, password));
}

TEST(ScriptedSiblings, PickersChangeWhatTheCallerHolds)
{
    ScriptedSiblings siblings;
    dataset::Field mesa;
    mesa.name = QStringLiteral("NRMESA");
    mesa.width = 4;
    dataset::Table table(dataset::FieldList{mesa});
    for (const char *mesa : {"0001", "0002", "0003"}) {
        table.append();
        table.setValue(QStringLiteral("NRMESA"), QString::fromLatin1(mesa));
    }
    table.first();
    siblings.pickRow(2);
    EXPECT_TRUE(Pesquisa(table, QString(), QStringLiteral("N"), 0, 0, 0, 0, 0));
    EXPECT_EQ(table.text(QStringLiteral("NRMESA")), QStringLiteral("0003"));
    EXPECT_EQ(siblings.calls(QStringLiteral("Pesquisa")).value(0).arguments.value(0), QStringLiteral("<table rows=3>"));

    std::array<QString, 28> scratch;
    PesqConsumidorTexts texts;
    for (int i = 0; i < 28; ++i)
        texts[i] = &scratch[i];
    siblings.chooseConsumidor(QStringLiteral("000000000000000000042"), QStringLiteral("Ana"), QStringLiteral("C1"));
    EXPECT_TRUE(PesqConsumidor(QStringLiteral("Consumidores"), QString(), texts, table, QStringLiteral("A"),
                               QStringLiteral("1")));
    EXPECT_EQ(scratch[pesqConsumidorIndex(7)], QStringLiteral("000000000000000000042"));
    EXPECT_EQ(scratch[pesqConsumidorIndex(8)], QStringLiteral("Ana"));
    EXPECT_EQ(scratch[pesqConsumidorIndex(10)], QStringLiteral("C1"));
    EXPECT_EQ(siblings.calls(QStringLiteral("PesqConsumidor")).value(0).arguments.size(), 33);

    QString code = QStringLiteral("1"), name, client = QStringLiteral("X");
    EXPECT_FALSE(CriaCadConsumidor(code, name, client, QStringLiteral("C")));
    EXPECT_EQ(code, QStringLiteral("1"));
    siblings.saveCadConsumidor(QStringLiteral("9"), QStringLiteral("Bia"), QStringLiteral("C9"));
    EXPECT_TRUE(CriaCadConsumidor(code, name, client, QStringLiteral("C")));
    EXPECT_EQ((QStringList{code, name, client}),
              (QStringList{QStringLiteral("9"), QStringLiteral("Bia"), QStringLiteral("C9")}));
}

TEST(ScriptedSiblings, SharedServicesBehaveAsTheStandInUnlessScripted)
{
    ScriptedSiblings siblings;
    EXPECT_EQ(Ajusta(QStringLiteral("7"), 4), QStringLiteral("0007"));
    EXPECT_THROW(MensagemMetodo(QVariant(QStringLiteral("falhou")), true, 0, QStringLiteral("getValMesa"),
                                QStringLiteral("Cli_Tkt00740"), QString(), QString()),
                 tkt::Error);
    siblings.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=:memory:"));
    EXPECT_EQ(_GetStringConexQor(QString()), QStringLiteral("Provider=SQLite;Data Source=:memory:"));

    siblings.script(Ajusta, [](const QString &, int) { return QStringLiteral("X"); });
    siblings.always(EmptyString, [](const QString &) { return true; });
    EXPECT_EQ(Ajusta(QStringLiteral("7"), 4), QStringLiteral("X"));
    EXPECT_EQ(Ajusta(QStringLiteral("7"), 4), QStringLiteral("0007"));
    EXPECT_TRUE(EmptyString(QStringLiteral("cheio")));
    EXPECT_TRUE(EmptyString(QStringLiteral("cheio")));
}

TEST(ScriptedSiblings, PutsBackWhatWasInstalledBefore)
{
    const auto before = Ajusta.function().target<AjustaFn *>();
    ASSERT_NE(before, nullptr);
    const AjustaFn *original = *before;
    Pesquisa = nullptr;
    {
        ScriptedSiblings outer;
        {
            ScriptedSiblings inner;
            inner.script(Ajusta, [](const QString &, int) { return QStringLiteral("in"); });
            EXPECT_EQ(Ajusta(QStringLiteral("1"), 2), QStringLiteral("in"));
            EXPECT_EQ(outer.count(QStringLiteral("Ajusta")), 0);
        }
        EXPECT_EQ(Ajusta(QStringLiteral("1"), 2), QStringLiteral("01"));
        EXPECT_EQ(outer.count(QStringLiteral("Ajusta")), 1);
        EXPECT_TRUE(Pesquisa);
    }
    ASSERT_NE(Ajusta.function().target<AjustaFn *>(), nullptr);
    EXPECT_EQ(*Ajusta.function().target<AjustaFn *>(), original);
    EXPECT_FALSE(Pesquisa);
}

} // namespace
