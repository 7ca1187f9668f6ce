// The touch message box: every way of answering, the three call forms and what the library installs.
#include "ModalDriver.h"

#include "contracts/MessageForms.h"
#include "contracts/TBlendedBitBtn.h"
#include "shared_services/StandIn.h"
#include "shared_services/widgets/TouchMensagem.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using widgets_test::artifactPath;
using widgets_test::whenModal;

namespace {

const QString kText = QStringLiteral("Consumidor não cadastrado.Deseja cadastrar ?");

bool ask(const QString &text = kText)
{
    return tkt::touchMensagem(text, QString(), QStringLiteral("N"), QStringLiteral("S"), 3, QString(),
                              QStringLiteral("002"), 0, nullptr);
}

void clickButton(const char *name)
{
    whenModal([name](QWidget *modal) {
        auto *button = modal->findChild<TBlendedBitBtn *>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

// Keys go to the window, as the keyboard delivers them: no widget inside has the focus.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    whenModal([key, modifiers](QWidget *modal) { QTest::keyClick(modal->windowHandle(), key, modifiers); });
}

TEST(TouchMensagem, QuestionAnswersByButton)
{
    clickButton("btnSim");
    EXPECT_TRUE(ask());
    clickButton("btnNao");
    EXPECT_FALSE(ask());
}

TEST(TouchMensagem, QuestionAnswersByKey)
{
    const struct {
        Qt::Key key;
        bool answer;
    } cases[] = {{Qt::Key_Return, true}, {Qt::Key_Enter, true}, {Qt::Key_S, true},    {Qt::Key_Y, true},
                 {Qt::Key_Escape, false}, {Qt::Key_N, false}};
    for (const auto &c : cases) {
        pressKey(c.key);
        EXPECT_EQ(ask(), c.answer) << QTest::toString(c.key);
    }
}

TEST(TouchMensagem, AltCombinationsDoNotAnswer)
{
    whenModal([](QWidget *modal) {
        QTest::keyClick(modal->windowHandle(), Qt::Key_S, Qt::AltModifier);
        QTest::keyClick(modal->windowHandle(), Qt::Key_Return, Qt::ControlModifier);
        ASSERT_TRUE(modal->isVisible());
        QTest::keyClick(modal->windowHandle(), Qt::Key_N);
    });
    EXPECT_FALSE(ask());
}

TEST(TouchMensagem, NoticeHasOnlyOk)
{
    bool sawOnlyOk = false;
    whenModal([&sawOnlyOk](QWidget *modal) {
        sawOnlyOk = modal->findChild<QWidget *>(QStringLiteral("btnOK"))
                    && !modal->findChild<QWidget *>(QStringLiteral("btnSim"))
                    && !modal->findChild<QWidget *>(QStringLiteral("btnNao"));
        modal->grab().save(artifactPath(QStringLiteral("TouchMensagem_notice.png")));
        QTest::keyClick(modal->windowHandle(), Qt::Key_Return);
    });
    tkt::touchMensagem(QStringLiteral("Mesa não informada."), QString(), QStringLiteral("N"),
                       QStringLiteral("N"), 3, QString(), QStringLiteral("002"), 0, nullptr);
    EXPECT_TRUE(sawOnlyOk);
}

TEST(TouchMensagem, LooksLikeATouchForm)
{
    const QString longText = QStringLiteral(
        "Operação bloqueada. A mesa está ocupada no modo de venda mesa. Ela precisa ser fechada para poder "
        "ser associada a uma comanda.");
    whenModal([&longText](QWidget *modal) {
        EXPECT_TRUE(modal->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(modal->isModal());
        auto *label = modal->findChild<QLabel *>(QStringLiteral("lblMensagem"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), longText);
        // The whole text is visible: wrapped inside the window, not cut at its edge.
        EXPECT_LE(label->geometry().right(), modal->width());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        for (auto *button : modal->findChildren<TBlendedBitBtn *>())
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        const QImage image = modal->grab().toImage();
        image.save(artifactPath(QStringLiteral("TouchMensagem_question.png")));
        EXPECT_EQ(image.pixelColor(modal->width() / 2, 0), QColor(204, 91, 44));
        QTest::keyClick(modal->windowHandle(), Qt::Key_Escape);
    });
    ask(longText);
}

TEST(TouchMensagem, BadgeQuestionShowsTheBadge)
{
    bool badge = false;
    whenModal([&badge](QWidget *modal) {
        auto *title = modal->findChild<QLabel *>(QStringLiteral("lblCracha"));
        badge = title && title->isVisible();
        modal->grab().save(artifactPath(QStringLiteral("TouchMensagem_badge.png")));
        QTest::mouseClick(modal->findChild<TBlendedBitBtn *>(QStringLiteral("btnSim")), Qt::LeftButton);
    });
    EXPECT_TRUE(tkt::touchMensagem(QStringLiteral("Deseja realizar a venda para este crachá bloqueado?"),
                                   QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("S"), 0, QString(),
                                   QString(), 0, nullptr));
    EXPECT_TRUE(badge);

    bool plainHasNoBadge = false;
    whenModal([&plainHasNoBadge](QWidget *modal) {
        plainHasNoBadge = !modal->findChild<QLabel *>(QStringLiteral("lblCracha"));
        QTest::keyClick(modal->windowHandle(), Qt::Key_Escape);
    });
    ask();
    EXPECT_TRUE(plainHasNoBadge);
}

TEST(TouchMensagem, TheLibraryInstallsTheTouchDialog)
{
    sharedservices::install();
    bool touch = false;
    whenModal([&touch](QWidget *modal) {
        touch = modal->findChild<TBlendedBitBtn *>(QStringLiteral("btnSim")) != nullptr;
        QTest::keyClick(modal->windowHandle(), Qt::Key_S);
    });
    EXPECT_TRUE(contracts::question(kText, QStringLiteral("002")));
    EXPECT_TRUE(touch);
}

} // namespace
