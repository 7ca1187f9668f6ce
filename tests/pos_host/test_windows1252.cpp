#include "contracts/Windows1252.h"

#include <gtest/gtest.h>

using tkt::fromWindows1252;
using tkt::toWindows1252;

TEST(Windows1252, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));

    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256) << "one character per byte";
    EXPECT_EQ(toWindows1252(text), all);
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        EXPECT_EQ(toWindows1252(fromWindows1252(one)), one) << "byte 0x" << std::hex << b;
    }
}

TEST(Windows1252, HighRangeHoldsTheWindowsCharacters)
{
    const struct {
        unsigned char byte;
        char16_t character;
    } cases[] = {
        {0x80, u'€'}, {0x82, u'‚'}, {0x83, u'ƒ'}, {0x84, u'„'}, {0x85, u'…'}, {0x86, u'†'}, {0x87, u'‡'},
        {0x88, u'ˆ'}, {0x89, u'‰'}, {0x8A, u'Š'}, {0x8B, u'‹'}, {0x8C, u'Œ'}, {0x8E, u'Ž'}, {0x91, u'‘'},
        {0x92, u'’'}, {0x93, u'“'}, {0x94, u'”'}, {0x95, u'•'}, {0x96, u'–'}, {0x97, u'—'}, {0x98, u'˜'},
        {0x99, u'™'}, {0x9A, u'š'}, {0x9B, u'›'}, {0x9C, u'œ'}, {0x9E, u'ž'}, {0x9F, u'Ÿ'},
        // the five bytes the code page leaves undefined
        {0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D},
        // Latin-1 above the high range
        {0xA0, 0xA0}, {0xC3, u'Ã'}, {0xC7, u'Ç'}, {0xE7, u'ç'}, {0xE3, u'ã'}, {0xFF, u'ÿ'},
    };
    for (const auto &c : cases) {
        const QByteArray byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(fromWindows1252(byte), QString(QChar(c.character))) << "byte 0x" << std::hex << int(c.byte);
        EXPECT_EQ(toWindows1252(QString(QChar(c.character))), byte) << "byte 0x" << std::hex << int(c.byte);
    }
}

TEST(Windows1252, CharactersOutsideBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(toWindows1252(QStringLiteral("Ā")), QByteArray("?"));
    EXPECT_EQ(toWindows1252(QStringLiteral("中文")), QByteArray("??"));
    // A C1 control that is not one of the undefined five has no byte: 0x80 means the euro sign.
    EXPECT_EQ(toWindows1252(QString(QChar(char16_t(0x80)))), QByteArray("?"));
    EXPECT_EQ(toWindows1252(QString(QChar(char16_t(0x9E)))), QByteArray("?"));
    // A character beyond the BMP is one character, whatever its UTF-16 length.
    EXPECT_EQ(toWindows1252(QStringLiteral("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(toWindows1252(QString(QChar(char16_t(0xD800))) + QStringLiteral("x")), QByteArray("?x"));
    EXPECT_EQ(toWindows1252(QStringLiteral("Ação €5 😀")), QByteArray("A\xE7\xE3o \x80" "5 ?"));
}

TEST(Windows1252, EmptyAndEmbeddedNulTexts)
{
    EXPECT_TRUE(toWindows1252(QString()).isEmpty());
    EXPECT_TRUE(fromWindows1252(QByteArray()).isEmpty());
    const QByteArray withNul("a\0b", 3);
    EXPECT_EQ(fromWindows1252(withNul).size(), 3);
    EXPECT_EQ(toWindows1252(fromWindows1252(withNul)), withNul);
}
