// The numeric keypad: digits by key and by button, the limit, the missing-value message, cancel.
#include "Drive.h"

#include "Pkg_Aux00090/StandIn.h"
#include "support/ScriptedSiblings.h"

#include <QLabel>

using namespace pkg_test;

namespace {

class Keypad : public testing::Test {
protected:
    bool open(QString &value, int maxLength = 21)
    {
        return commonui::tecladoNumerico(value, QStringLiteral("Informe o Consumidor"),
                                         QStringLiteral("Código do consumidor"), QStringLiteral("Consumidor não informado."),
                                         maxLength, 0, 0, 0, 0, 0);
    }
    static QString shown(QWidget *modal) { return child<QLabel>(modal, "lblValor")->text(); }

    ScriptedSiblings siblings;
};

TEST_F(Keypad, KeysAndButtonsBuildTheEntry)
{
    QString seen;
    whenModal([&seen](QWidget *modal) {
        QTest::keyClicks(modal, "12a-");
        click(modal, "btn3");
        QTest::keyClick(modal, Qt::Key_Backspace);
        click(modal, "btn0");
        click(modal, "btn9");
        click(modal, "btnApagar");
        QTest::keyClick(modal, Qt::Key_4, Qt::KeypadModifier);
        seen = shown(modal);
        render(modal, QStringLiteral("TecladoNumerico"));
        QTest::keyClick(modal, Qt::Key_Enter);
    });
    QString value;
    EXPECT_TRUE(open(value));
    EXPECT_EQ(seen, QStringLiteral("1204"));
    EXPECT_EQ(value, QStringLiteral("1204"));
    EXPECT_EQ(siblings.count(QStringLiteral("Mensagem")), 0);
}

TEST_F(Keypad, DigitsBeyondTheLimitAreIgnored)
{
    whenModal([](QWidget *modal) {
        QTest::keyClicks(modal, "123456");
        click(modal, "btn7");
        click(modal, "btnConfirmar");
    });
    QString value;
    EXPECT_TRUE(open(value, 4));
    EXPECT_EQ(value, QStringLiteral("1234"));
}

TEST_F(Keypad, EmptyConfirmationShowsTheMissingMessageAndStaysOpen)
{
    bool openAfterEmpty = false;
    bool openAfterCleared = false;
    whenModal([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Return);
        openAfterEmpty = modal->isVisible();
        QTest::keyClicks(modal, "55");
        QTest::keyClick(modal, Qt::Key_Delete);
        click(modal, "btnConfirmar");
        openAfterCleared = modal->isVisible();
        click(modal, "btn8");
        click(modal, "btnLimpar");
        click(modal, "btn6");
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QString value;
    EXPECT_TRUE(open(value));
    EXPECT_TRUE(openAfterEmpty);
    EXPECT_TRUE(openAfterCleared);
    EXPECT_EQ(value, QStringLiteral("6"));
    EXPECT_EQ(siblings.messages(),
              QStringList({QStringLiteral("Consumidor não informado."), QStringLiteral("Consumidor não informado.")}));
}

TEST_F(Keypad, CancelLeavesTheValueAlone)
{
    for (const char *how : {"esc", "button"}) {
        whenModal([how](QWidget *modal) {
            QTest::keyClicks(modal, "42");
            if (qstrcmp(how, "esc") == 0)
                QTest::keyClick(modal, Qt::Key_Escape);
            else
                click(modal, "btnCancelar");
        });
        QString value = QStringLiteral("0007");
        EXPECT_FALSE(open(value)) << how;
        EXPECT_EQ(value, QStringLiteral("0007")) << how;
    }
}

TEST_F(Keypad, AltCombinationsTypeNothing)
{
    whenModal([](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_1, Qt::AltModifier);
        QTest::keyClick(modal, Qt::Key_Return, Qt::ControlModifier);
        ASSERT_TRUE(modal->isVisible());
        QTest::keyClick(modal, Qt::Key_2);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QString value;
    EXPECT_TRUE(open(value));
    EXPECT_EQ(value, QStringLiteral("2"));
}

} // namespace
