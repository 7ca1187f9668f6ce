// The touch button and shape: clicks, the look of each state, the hint and the focus rule.
#include "contracts/TBlendedBitBtn.h"
#include "contracts/TBlendedShape.h"

#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QString kSearch = QStringLiteral(":/tkt00740/glyphs/search.svg");
const QString kSearchDisabled = QStringLiteral(":/tkt00740/glyphs/search_disabled.svg");
const QColor kOrange(204, 91, 44);

struct ButtonFixture : ::testing::Test {
    QWidget window;
    TBlendedBitBtn *button = new TBlendedBitBtn(&window);

    void SetUp() override
    {
        window.resize(200, 100);
        button->setGeometry(16, 20, 57, 53);
        button->setGlyph(kSearch);
        button->setDisabledGlyph(kSearchDisabled);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QColor pixel(int x, int y) const { return button->grab().toImage().pixelColor(x, y); }

    // Centre of the lens in the search glyph, placed in the middle of a 57 x 53 button.
    QColor lensCentre() const { return pixel((57 - 34) / 2 + 14, (53 - 34) / 2 + 14); }
};

bool near(const QColor &a, const QColor &b, int tolerance = 6)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

TEST_F(ButtonFixture, ClickEmitsOnlyWhileEnabled)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);

    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);

    button->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(ButtonFixture, NeverTakesTheFocus)
{
    auto *other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    other->setFocus();
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(ButtonFixture, EachStatePaintsItsFillAndGlyph)
{
    EXPECT_EQ(button->currentGlyph(), kSearch);
    EXPECT_TRUE(near(pixel(28, 3), QColor(128, 128, 128))) << qPrintable(pixel(28, 3).name());
    EXPECT_TRUE(near(lensCentre(), kOrange)) << qPrintable(lensCentre().name());

    button->setEnabled(false);
    EXPECT_EQ(button->currentGlyph(), kSearchDisabled);
    EXPECT_EQ(button->currentFillColor(), QColor(204, 204, 204));
    EXPECT_EQ(button->currentTextColor(), QColor(192, 192, 192));
    EXPECT_TRUE(near(pixel(28, 3), QColor(204, 204, 204))) << qPrintable(pixel(28, 3).name());
    // The disabled drawing is an outline: the lens is hollow, the grey fill shows through.
    EXPECT_TRUE(near(lensCentre(), QColor(204, 204, 204))) << qPrintable(lensCentre().name());

    button->setEnabled(true);
    button->setDown(true);
    EXPECT_EQ(button->currentFillColor(), button->palette().color(QPalette::WindowText));
    EXPECT_EQ(button->currentTextColor(), button->palette().color(QPalette::Window));
    EXPECT_TRUE(near(pixel(28, 3), button->palette().color(QPalette::WindowText)));
    button->setPressedFillColor(Qt::red);
    EXPECT_EQ(button->currentFillColor(), QColor(Qt::red));
}

TEST_F(ButtonFixture, WithoutADisabledGlyphTheNormalOneStays)
{
    button->setDisabledGlyph(QString());
    button->setEnabled(false);
    EXPECT_EQ(button->currentGlyph(), kSearch);
}

TEST_F(ButtonFixture, AnUnreadableGlyphPaintsNone)
{
    button->setGlyph(QStringLiteral(":/no/such/glyph.svg"));
    EXPECT_TRUE(button->currentGlyph().isEmpty());
    EXPECT_TRUE(near(lensCentre(), QColor(128, 128, 128)));
}

TEST_F(ButtonFixture, CaptionSitsLeftOfTheGlyph)
{
    button->setGeometry(10, 10, 150, 53);
    button->setText(QStringLiteral("MMMM"));
    button->setTextColor(Qt::black);
    button->setSpacing(4);
    const QImage image = button->grab().toImage();
    int firstText = -1;
    int firstOrange = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (firstText < 0 && near(c, Qt::black, 60))
                firstText = x;
            if (firstOrange < 0 && near(c, kOrange, 10))
                firstOrange = x;
        }
    }
    ASSERT_GE(firstText, 0);
    ASSERT_GE(firstOrange, 0);
    EXPECT_LT(firstText, firstOrange);
}

TEST_F(ButtonFixture, HintShowsOnlyWhenAllowed)
{
    button->setToolTip(QStringLiteral("Pesquisar mesa (Alt + M)"));
    const QPoint at(5, 5);
    QHelpEvent shown(QEvent::ToolTip, at, button->mapToGlobal(at));
    QApplication::sendEvent(button, &shown);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Pesquisar mesa (Alt + M)"));
    QToolTip::hideText();
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 2000);

    button->setShowHint(false);
    QHelpEvent hidden(QEvent::ToolTip, at, button->mapToGlobal(at));
    QApplication::sendEvent(button, &hidden);
    QTest::qWait(20);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(button->toolTip(), QStringLiteral("Pesquisar mesa (Alt + M)"));
}

TEST(TBlendedShape, OutlineAndFillArePainted)
{
    TBlendedShape shape;
    shape.resize(100, 60);
    shape.setFillColor(Qt::white);
    shape.setOutlineWidth(2);
    QImage image = shape.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(50, 0), kOrange)) << qPrintable(image.pixelColor(50, 0).name());
    EXPECT_TRUE(near(image.pixelColor(50, 1), kOrange));
    EXPECT_TRUE(near(image.pixelColor(50, 3), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(50, 30), Qt::white));

    shape.setOutlineWidth(0);
    shape.setFillColor(QColor(235, 235, 235));
    image = shape.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(50, 0), QColor(235, 235, 235)));
    EXPECT_TRUE(shape.testAttribute(Qt::WA_TransparentForMouseEvents));
}

} // namespace
