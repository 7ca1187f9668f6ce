// The Enter step (validate, check the comanda, move on or ask to open it) and the conclusion.
#include "dialog/DialogHarness.h"
#include "support/QtPrinters.h"

#include "Cli_tkt00740/Globals.h"
#include "contracts/TBlendedBitBtn.h"

#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

const QString kQuestion = QStringLiteral("Confirma a Abertura da Comanda?");
const char *const kOpen = "0101";
const char *const kClosed = "0102";
const char *const kUnknown = "999";

// Permissions as bits: consumer 4, waiter 2, table 1. Every field is preset with a valid value, so
// that validation passes whatever is selected and only the move rules decide.
DialogPresets presets(int permissions, const QString &comanda)
{
    DialogPresets p;
    p.comanda = comanda;
    p.permiteCons = permissions & 4 ? "S" : "N";
    p.permiteGarcom = permissions & 2 ? "S" : "N";
    p.permiteMesa = permissions & 1 ? "S" : "N";
    p.consumidor = "000000000000000000021";
    p.cliente = "000000000000000000001";
    p.vendedor = "0001";
    p.mesa = "0002";
    return p;
}

void pressEnter(TfrmCriaComanda &f, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(&f, Qt::Key_Return, mods);
}

int countOf(const QStringList &list, const QString &item) { return static_cast<int>(list.count(item)); }

QStringList comandaChecks(const ScriptedSiblings &siblings)
{
    QStringList descriptions;
    for (const auto &call : siblings.calls("MensagemMetodo"))
        if (call.arguments[3] == "getValComanda")
            descriptions << call.arguments[5];
    return descriptions;
}

// Makes the comanda check fail in the database itself, so that the real result check raises. Done
// before the dialog opens its connections, which would hold the database.
void dropComandas(const DialogHarness &h)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "confirm-test-break");
        db.setDatabaseName(h.folder() + "/demo.db");
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        ASSERT_TRUE(q.exec("DROP TABLE COMANDAVEN")) << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase("confirm-test-break");
}

TEST(EnterStep, MovesByFieldPermissionsAndComandaState)
{
    // Per permission combination 0..7: the field selected after Enter, or '?' when the opening
    // question comes up (answered no here, so the selection stays).
    struct Row { int field; const char *comanda; const char *outcomes; };
    const Row rows[] = {
        {1, kUnknown, "?322?322"}, {1, kOpen, "13221322"},
        {2, kUnknown, "?3?3?3?3"}, {2, kOpen, "23231313"},
        {3, kUnknown, "????????"}, {3, kOpen, "33221111"},
        {3, kClosed, "????????"},
    };
    for (const Row &row : rows) {
        for (int permissions = 0; permissions < 8; ++permissions) {
            SCOPED_TRACE(testing::Message() << "field " << row.field << ", comanda " << row.comanda
                                            << ", permissions " << permissions);
            DialogHarness h;
            TfrmCriaComanda &f = h.open(presets(permissions, row.comanda));
            f.selectField(row.field);
            h.siblings.clearCalls();
            boResult = false;

            pressEnter(f);

            const char outcome = row.outcomes[permissions];
            const bool asks = outcome == '?';
            EXPECT_EQ(f.inCampoAtual, asks ? row.field : outcome - '0');
            EXPECT_EQ(f.stCampoAtual, QString::number(f.inCampoAtual));
            EXPECT_EQ(h.siblings.messages(), asks ? QStringList{kQuestion} : QStringList{});
            EXPECT_EQ(comandaChecks(h.siblings), QStringList{"0001-0001-" + QString(row.comanda) + "--4"});
            EXPECT_EQ(f.cdsComandas.isEmpty(), QString(row.comanda) != kOpen);
            EXPECT_TRUE(f.isVisible());
            EXPECT_FALSE(boResult);
            EXPECT_EQ(h.siblings.count("ControleSenhOper"), 0);
            EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
        }
    }
}

TEST(EnterStep, QuestionIsAskedInQuestionFormWithTheScheme)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(7, kUnknown));
    f.selectField(3);
    h.siblings.clearCalls();
    pressEnter(f);
    const auto asked = h.siblings.calls("Mensagem");
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].arguments.mid(0, 8), QStringList({kQuestion, "", "N", "S", "3", "", "001", "0"}));
}

TEST(EnterStep, YesConcludesFromEachLastField)
{
    // field, permissions, field selected when concluding
    const int cases[][3] = {{1, 4, 1}, {2, 6, 1}, {3, 7, 3}, {1, 0, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "field " << c[0] << ", permissions " << c[1]);
        DialogHarness h;
        TfrmCriaComanda &f = h.open(presets(c[1], kUnknown));
        f.selectField(c[0]);
        h.siblings.clearCalls();
        boResult = false;
        h.siblings.answerMensagem(true);

        pressEnter(f);

        EXPECT_TRUE(boResult);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.inCampoAtual, c[2]);
        const QStringList order = h.siblings.routinesCalled();
        ASSERT_EQ(countOf(order, "ControleSenhOper"), 1);
        EXPECT_LT(order.indexOf("Mensagem"), order.indexOf("ControleSenhOper")) << "asked before the password";
        EXPECT_EQ(h.siblings.calls("ControleSenhOper")[0].arguments[0], "001|S|false|0001");
        EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
    }
}

TEST(EnterStep, NoLeavesSelectionAndTheFreshEmptyCheck)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(1, kOpen));
    f.selectField(3);
    pressEnter(f);
    ASSERT_FALSE(f.cdsComandas.isEmpty()) << "the open comanda has its sale";
    EXPECT_TRUE(h.siblings.messages().isEmpty()) << "an open comanda is never offered for opening";

    f.stNrComanda = kUnknown;
    h.siblings.answerMensagem(false);
    pressEnter(f);
    EXPECT_EQ(h.siblings.messages(), QStringList{kQuestion});
    EXPECT_TRUE(f.cdsComandas.isEmpty()) << "the new check replaced the rows of the earlier one";
    EXPECT_EQ(f.inCampoAtual, 3);
    EXPECT_TRUE(f.isVisible());
}

TEST(EnterStep, FailedValidationStopsBeforeTheComandaCheck)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(7, kUnknown));
    f.selectField(2);
    f.lblCdGarcom()->setText("0003"); // another branch's waiter
    h.siblings.clearCalls();
    pressEnter(f);
    EXPECT_TRUE(comandaChecks(h.siblings).isEmpty());
    EXPECT_EQ(f.inCampoAtual, 2);
    EXPECT_FALSE(h.siblings.messages().contains(kQuestion));
}

TEST(EnterStep, WaiterFieldSelectsTheConsumerBeforeConcluding)
{
    // The consumer code is held but no consumer is shown: the waiter validates, the conclusion stops.
    DialogHarness h;
    DialogPresets p = presets(6, kUnknown);
    p.consumidor = "999";
    TfrmCriaComanda &f = h.open(p);
    ASSERT_TRUE(f.lblCdcons()->text().isEmpty());
    f.selectField(2);
    h.siblings.clearCalls();
    boResult = false;
    h.siblings.answerMensagem(true);

    pressEnter(f);

    EXPECT_EQ(h.siblings.messages(), QStringList({kQuestion, "Consumidor não informado."}));
    EXPECT_EQ(f.inCampoAtual, 1) << "the consumer field stays selected after the conclusion stopped";
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(boResult);
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 0);
}

TEST(EnterStep, RefusedPasswordAfterYesEndsTheKeyQuietly)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(6, kUnknown));
    f.selectField(2);
    h.siblings.clearCalls();
    boResult = false;
    h.siblings.answerMensagem(true);
    h.siblings.answerSenhaOper(false);

    pressEnter(f);

    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 1);
    EXPECT_EQ(f.inCampoAtual, 1);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(boResult);
    EXPECT_TRUE(h.errorBoxes.isEmpty()) << "the refusal is silent";
    EXPECT_EQ(h.siblings.messages(), QStringList{kQuestion});
}

TEST(EnterStep, ServiceErrorOfTheComandaCheckReachesTheEventGuard)
{
    DialogHarness h;
    dropComandas(h);
    TfrmCriaComanda &f = h.open(presets(6, kUnknown));
    ASSERT_TRUE(h.errorBoxes.isEmpty()) << "the comandas are not needed to show the dialog";
    f.selectField(1);
    h.siblings.clearCalls();

    pressEnter(f);

    ASSERT_EQ(h.errorBoxes.size(), 1);
    EXPECT_TRUE(h.errorBoxes[0].contains("getValComanda")) << h.errorBoxes[0].toStdString();
    EXPECT_EQ(f.inCampoAtual, 1) << "the step ended before moving on";
    EXPECT_TRUE(f.isVisible());
}

TEST(Conclusion, WithoutWaiterClosesWithoutPassword)
{
    DialogHarness h;
    DialogPresets p = presets(5, kUnknown);
    p.vendedor.clear();
    TfrmCriaComanda &f = h.open(p);
    ASSERT_TRUE(f.lblCdGarcom()->text().isEmpty());
    boResult = false;

    f.spdEnter()->click();

    EXPECT_TRUE(boResult);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 0);
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

TEST(Conclusion, RefusedPasswordKeepsTheDialogAndALaterConclusionAsksAgain)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(7, kOpen));
    f.selectField(3);
    boResult = false;
    h.siblings.answerSenhaOper(false);

    f.spdEnter()->click();

    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(boResult);
    EXPECT_TRUE(h.siblings.messages().isEmpty());
    EXPECT_TRUE(h.errorBoxes.isEmpty());
    const auto first = h.siblings.calls("ControleSenhOper");
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].arguments[0], "001|S|false|0001") << "scheme, password setting, false, waiter code";
    EXPECT_EQ(f.ovSenhaOper.toList().size(), 10);

    f.spdEnter()->click();

    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 2);
    EXPECT_TRUE(boResult);
    EXPECT_FALSE(f.isVisible());
}

TEST(Conclusion, MissingRequiredFieldStopsBeforeValidationAndPassword)
{
    DialogHarness h;
    DialogPresets p = presets(7, kUnknown);
    p.mesa.clear();
    TfrmCriaComanda &f = h.open(p);
    boResult = false;
    f.spdEnter()->click();
    EXPECT_EQ(h.siblings.messages(), QStringList{"Mesa não informada."});
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 0);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(boResult);
}

TEST(CtrlEnter, EnterStepThatConcludedIsNotConcludedAgain)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(presets(4, kUnknown));
    h.siblings.clearCalls();
    boResult = false;
    h.siblings.answerMensagem(true);

    pressEnter(f, Qt::ControlModifier);

    EXPECT_TRUE(boResult);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 1) << "one password prompt for one conclusion";
    EXPECT_EQ(h.siblings.messages(), QStringList{kQuestion});
}

TEST(CtrlEnter, EnterStepThatRaisedEndsTheKey)
{
    DialogHarness h;
    dropComandas(h);
    TfrmCriaComanda &f = h.open(presets(7, kUnknown));
    h.siblings.clearCalls();

    pressEnter(f, Qt::ControlModifier);

    EXPECT_EQ(h.errorBoxes.size(), 1);
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 0) << "the conclusion did not run";
    EXPECT_TRUE(f.isVisible());
}

} // namespace
