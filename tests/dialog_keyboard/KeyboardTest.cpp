// Typing into the field labels, the keys that move the selection, the shortcuts and label clicks,
// all driven by real key and mouse events sent to the dialog.
#include "dialog/DialogHarness.h"
#include "support/QtPrinters.h"

#include "Cli_tkt00740/Globals.h"
#include "contracts/TBlendedBitBtn.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

const QString kConsumer21 = QStringLiteral("000000000000000000021");

// Permissions as bits: consumer 4, waiter 2, table 1.
DialogPresets permitting(int permissions)
{
    DialogPresets p;
    p.permiteCons = permissions & 4 ? "S" : "N";
    p.permiteGarcom = permissions & 2 ? "S" : "N";
    p.permiteMesa = permissions & 1 ? "S" : "N";
    return p;
}

void press(TfrmCriaComanda &f, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(&f, key, mods);
}

// Types text as the keyboard would; QTest's own typing knows ASCII only.
void type(TfrmCriaComanda &f, const QString &text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(&f, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, &f, Qt::Key(QChar(ch).toUpper().unicode()), QString(ch), Qt::NoModifier);
    }
}

TEST(Typing, EachFieldTakesItsCharactersUpToItsLimit)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open();

    type(f, "Ab 9,ç./\\-Ç;");
    EXPECT_EQ(f.lblCdcons()->text(), "ab 9ç./\\") << "letters lower-cased; comma and others dropped";
    QTest::keyClicks(&f, "12345678901234567890");
    EXPECT_EQ(f.lblCdcons()->text().size(), 21);
    EXPECT_EQ(f.lblCdcons()->text(), "ab 9ç./\\1234567890123");

    f.selectField(2);
    QTest::keyClicks(&f, "a,1 B2x345");
    EXPECT_EQ(f.lblCdGarcom()->text(), "1234") << "digits only, four at most";

    f.selectField(3);
    QTest::keyClicks(&f, "7,z8.9/01");
    EXPECT_EQ(f.lblNrMesa()->text(), "7890");

    EXPECT_EQ(f.lblCdcons()->text(), "ab 9ç./\\1234567890123") << "other fields untouched";
    EXPECT_EQ(f.lblCdGarcom()->text(), "1234");
    EXPECT_TRUE(h.siblings.messages().isEmpty());
    EXPECT_TRUE(h.errorBoxes.isEmpty());
}

TEST(Typing, FullCaptionTakesNothingUntilErasedBelowTheLimit)
{
    DialogHarness h;
    DialogPresets p;
    p.vendedor = "0001";
    TfrmCriaComanda &f = h.open(p);
    ASSERT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
    f.selectField(2);
    QTest::keyClicks(&f, "5");
    EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
    press(f, Qt::Key_Backspace, Qt::NoModifier, 15);
    EXPECT_EQ(f.lblCdGarcom()->text(), "000");
    QTest::keyClicks(&f, "56");
    EXPECT_EQ(f.lblCdGarcom()->text(), "0005");
}

TEST(Typing, BackspaceErasesAndForgetsTheConfirmedConsumer)
{
    DialogHarness h;
    DialogPresets p;
    p.consumidor = kConsumer21;
    p.cliente = "000000000000000000001";
    p.vendedor = "0001";
    TfrmCriaComanda &f = h.open(p);
    ASSERT_TRUE(f.spbCredPes()->isEnabled());

    f.selectField(2);
    f.boConsConfirmado = true;
    press(f, Qt::Key_Backspace, Qt::NoModifier, 20);
    EXPECT_FALSE(f.boConsConfirmado) << "any field's Backspace clears the confirmation";
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
    EXPECT_EQ(f.lblNmCons()->text(), "João da Conceição") << "emptying the waiter keeps the consumer";
    EXPECT_TRUE(f.spbCredPes()->isEnabled());

    f.selectField(1);
    f.boConsConfirmado = true;
    press(f, Qt::Key_Backspace, Qt::NoModifier, 20);
    EXPECT_EQ(f.lblCdcons()->text(), "0");
    EXPECT_EQ(f.lblNmCons()->text(), "João da Conceição");
    EXPECT_TRUE(f.spbCredPes()->isEnabled());
    EXPECT_FALSE(f.boConsConfirmado);

    press(f, Qt::Key_Backspace);
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_FALSE(f.spbCredPes()->isEnabled());
    press(f, Qt::Key_Backspace);
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_EQ(f.stCdConsumidor, kConsumer21) << "typing changes only the labels";
}

TEST(Esc, MovesBackByPermissionsAndNeverCloses)
{
    // Per selected field, the field selected after Esc for permission combinations 0..7.
    const char *const outcomes[] = {"13231323", "23231111", "33221122"};
    for (int field = 1; field <= 3; ++field) {
        for (int permissions = 0; permissions < 8; ++permissions) {
            SCOPED_TRACE(testing::Message() << "field " << field << ", permissions " << permissions);
            DialogHarness h;
            TfrmCriaComanda &f = h.open(permitting(permissions));
            f.selectField(field);
            press(f, Qt::Key_Escape);
            EXPECT_EQ(f.inCampoAtual, outcomes[field - 1][permissions] - '0');
            EXPECT_EQ(f.stCampoAtual, QString::number(f.inCampoAtual));
            EXPECT_TRUE(f.isVisible());
            EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
        }
    }
}

TEST(Esc, ValidatesTheFieldItLeavesEvenWhenItStays)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(permitting(2));
    f.selectField(2);
    QTest::keyClicks(&f, "99");
    press(f, Qt::Key_Escape);
    EXPECT_EQ(h.siblings.messages(), QStringList{"Garçom não cadastrado ou operador vinculado não está ativo."});
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
    EXPECT_EQ(f.inCampoAtual, 2);
}

TEST(Shortcuts, OnlyExactAltReachesThePickersEvenWhenDisabled)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open(permitting(0));
    ASSERT_FALSE(f.spbPesqCons()->isEnabled());
    h.siblings.clearCalls();

    press(f, Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);
    press(f, Qt::Key_C, Qt::AltModifier | Qt::ControlModifier);
    press(f, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(h.siblings.routinesCalled().isEmpty()) << h.siblings.routinesCalled().join(", ").toStdString();
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty()) << "a letter typed with Alt or Ctrl is no character";

    press(f, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(h.siblings.count("PesqConsumidor"), 1);
    press(f, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(h.siblings.count("TecladoNumerico"), 1);
    press(f, Qt::Key_G, Qt::AltModifier);
    press(f, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(h.siblings.count("Pesquisa"), 2) << "the waiter list and the table list";
    EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
}

TEST(Shortcuts, AltPEditsTheConsumerOnlyWhileItsButtonIsEnabled)
{
    DialogHarness h;
    DialogPresets p;
    p.consumidor = kConsumer21;
    p.cliente = "000000000000000000001";
    TfrmCriaComanda &f = h.open(p);
    ASSERT_TRUE(f.spbCredPes()->isEnabled());
    press(f, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(h.siblings.count("CriaCadConsumidor"), 1);

    press(f, Qt::Key_Backspace, Qt::NoModifier, 21);
    ASSERT_FALSE(f.spbCredPes()->isEnabled());
    press(f, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(h.siblings.count("CriaCadConsumidor"), 1);
    EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
}

TEST(Shortcuts, CtrlEnterRunsTheEnterStepThenTheConclusion)
{
    DialogHarness h;
    DialogPresets p;
    p.comanda = "0101";
    p.consumidor = kConsumer21;
    p.cliente = "000000000000000000001";
    p.vendedor = "0001";
    p.mesa = "0002";
    TfrmCriaComanda &f = h.open(p);
    h.siblings.clearCalls();
    boResult = false;

    press(f, Qt::Key_Return, Qt::ControlModifier);

    EXPECT_EQ(f.inCampoAtual, 2) << "the Enter step moved on first";
    const QStringList order = h.siblings.routinesCalled();
    const auto checks = h.siblings.calls("MensagemMetodo");
    ASSERT_FALSE(checks.isEmpty());
    EXPECT_EQ(checks[0].arguments[3], "getValComanda");
    EXPECT_EQ(checks.last().arguments[3], "getValidaGarcom") << "the conclusion validated the waiter field";
    EXPECT_LT(order.indexOf("MensagemMetodo"), order.indexOf("ControleSenhOper"));
    EXPECT_EQ(h.siblings.count("ControleSenhOper"), 1);
    EXPECT_TRUE(boResult);
    EXPECT_FALSE(f.isVisible());
}

TEST(Shortcuts, F1OnlyWithAFiscalPrinter)
{
    struct Case { bool file, fiscal; int reports; };
    for (const Case c : {Case{true, true, 1}, Case{true, false, 0}, Case{false, true, 0}}) {
        SCOPED_TRACE(testing::Message() << "file " << c.file << ", fiscal " << c.fiscal);
        schema::DemoParameters parameters;
        parameters.utilizaImpFis = c.fiscal;
        DialogHarness h(c.file, parameters);
        TfrmCriaComanda &f = h.open();
        press(f, Qt::Key_F1);
        press(f, Qt::Key_F2);
        EXPECT_EQ(h.siblings.count("RelFiscais"), c.reports);
    }
}

TEST(LabelClicks, SelectTheClickedFieldWhenItTakesEntry)
{
    struct Case { QLabel *(TfrmCriaComanda::*label)() const; int field; int bit; };
    const Case cases[] = {
        {&TfrmCriaComanda::lblCdcons, 1, 4},
        {&TfrmCriaComanda::lblDadosCons, 1, 4},
        {&TfrmCriaComanda::lblCdGarcom, 2, 2},
        {&TfrmCriaComanda::lblNrMesa, 3, 1},
    };
    for (const Case &c : cases) {
        for (bool allowed : {true, false}) {
            DialogHarness h;
            TfrmCriaComanda &f = h.open(permitting(allowed ? 7 : 7 & ~c.bit));
            const int start = c.field == 2 ? 3 : 2;
            f.selectField(start);
            QLabel *label = (f.*c.label)();
            SCOPED_TRACE(label->objectName().toStdString() + (allowed ? " allowed" : " not allowed"));
            QTest::mouseClick(label, Qt::LeftButton);
            EXPECT_EQ(f.inCampoAtual, allowed ? c.field : start);
        }
    }
}

TEST(LabelClicks, ValidateTheFieldBeingLeft)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open();
    f.selectField(2);
    QTest::keyClicks(&f, "99");
    QTest::mouseClick(f.lblNrMesa(), Qt::LeftButton);
    EXPECT_EQ(h.siblings.messages(), QStringList{"Garçom não cadastrado ou operador vinculado não está ativo."});
    EXPECT_EQ(f.inCampoAtual, 3) << "the selection moves although the waiter was refused";
}

} // namespace
