#include "pos_host/OperatorScript.h"

#include <gtest/gtest.h>

using namespace posscript;

namespace {

QStringList tokensOf(const QString &script)
{
    QStringList tokens;
    QString error;
    EXPECT_TRUE(splitTokens(script, &tokens, &error)) << error.toStdString();
    return tokens;
}

KeyStroke keyOf(const QString &keyText)
{
    KeyStroke stroke;
    QString error;
    EXPECT_TRUE(parseKey(keyText, &stroke, &error)) << keyText.toStdString() << ": " << error.toStdString();
    return stroke;
}

} // namespace

TEST(ScriptTokens, BlanksSeparateAndQuotesKeepThem)
{
    EXPECT_EQ(tokensOf(QStringLiteral("  click:btnOk\t7   Enter \n")),
              (QStringList{QStringLiteral("click:btnOk"), QStringLiteral("7"), QStringLiteral("Enter")}));
    EXPECT_EQ(tokensOf(QStringLiteral("type:\"Maria José\" Esc")),
              (QStringList{QStringLiteral("type:Maria José"), QStringLiteral("Esc")}));
    EXPECT_EQ(tokensOf(QStringLiteral(R"(type:"a \"b\" c\\d" x)")),
              (QStringList{QStringLiteral(R"(type:a "b" c\d)"), QStringLiteral("x")}));
    EXPECT_EQ(tokensOf(QStringLiteral("type:\"\"")), QStringList{QStringLiteral("type:")});
    EXPECT_TRUE(tokensOf(QStringLiteral("   ")).isEmpty());

    QStringList tokens;
    QString error;
    EXPECT_FALSE(splitTokens(QStringLiteral("type:\"open"), &tokens, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ScriptKeys, KeysCarryModifiersAndTheirText)
{
    const struct {
        const char *keyText;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    } cases[] = {
        {"7", Qt::Key_7, Qt::NoModifier, QStringLiteral("7")},
        {"a", Qt::Key_A, Qt::NoModifier, QStringLiteral("a")},
        {"A", Qt::Key_A, Qt::NoModifier, QStringLiteral("A")},
        {"Shift+a", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")},
        {"Enter", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")},
        {"Return", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")},
        {"Num+Enter", Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r")},
        {"Esc", Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")},
        {"Space", Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")},
        {"F1", Qt::Key_F1, Qt::NoModifier, QString()},
        {"Shift+F1", Qt::Key_F1, Qt::ShiftModifier, QString()},
        {"Alt+X", Qt::Key_X, Qt::AltModifier, QString()},
        {"alt+x", Qt::Key_X, Qt::AltModifier, QString()},
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, QString()},
        {"Alt+Shift+C", Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier, QString()},
        {"Ctrl+7", Qt::Key_7, Qt::ControlModifier, QString()},
        {"Ctrl++", Qt::Key_Plus, Qt::ControlModifier, QString()},
        {"+", Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+")},
        {"ç", Qt::Key_Ccedilla, Qt::NoModifier, QStringLiteral("ç")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keyText);
        const KeyStroke stroke = keyOf(QString::fromUtf8(c.keyText));
        EXPECT_EQ(stroke.key, c.key);
        EXPECT_EQ(stroke.modifiers, c.modifiers);
        EXPECT_EQ(stroke.text, c.text);
    }
}

TEST(ScriptKeys, UnknownKeysAndModifiersAreRefused)
{
    for (const char *keyText : {"Foo", "Hyper+X", "Ctrl+", "Alt+Foo", "Ctrl+A,B"}) {
        KeyStroke stroke;
        QString error;
        EXPECT_FALSE(parseKey(QString::fromLatin1(keyText), &stroke, &error)) << keyText;
        EXPECT_TRUE(error.contains(QString::fromLatin1(keyText).section(QLatin1Char('+'), 0, 0))) << error.toStdString();
    }
}

TEST(ScriptParse, ScriptBecomesSteps)
{
    const ParsedScript parsed = parseScript(
        QStringLiteral("click:btnConfirma type:\"Zé 12\" wait:300 Alt+X Enter"));
    ASSERT_TRUE(parsed.ok()) << parsed.error.toStdString();
    ASSERT_EQ(parsed.steps.size(), 5);

    EXPECT_EQ(parsed.steps[0].kind, ScriptStep::Kind::Click);
    EXPECT_EQ(parsed.steps[0].objectName, QStringLiteral("btnConfirma"));

    const ScriptStep &typed = parsed.steps[1];
    EXPECT_EQ(typed.kind, ScriptStep::Kind::Type);
    ASSERT_EQ(typed.keys.size(), 5);
    const QString expected = QStringLiteral("Zé 12");
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(typed.keys[i].text, QString(expected.at(i)));
        EXPECT_EQ(typed.keys[i].modifiers, Qt::NoModifier);
    }
    EXPECT_EQ(typed.keys[1].key, Qt::Key_Eacute);
    EXPECT_EQ(typed.keys[2].key, Qt::Key_Space);
    EXPECT_EQ(typed.keys[4].key, Qt::Key_2);

    EXPECT_EQ(parsed.steps[2].kind, ScriptStep::Kind::Wait);
    EXPECT_EQ(parsed.steps[2].milliseconds, 300);

    EXPECT_EQ(parsed.steps[3].kind, ScriptStep::Kind::Key);
    ASSERT_EQ(parsed.steps[3].keys.size(), 1);
    EXPECT_EQ(parsed.steps[3].keys[0], (KeyStroke{Qt::Key_X, Qt::AltModifier, QString()}));
    EXPECT_EQ(parsed.steps[4].keys[0], (KeyStroke{Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")}));
    EXPECT_EQ(parsed.steps[4].token, QStringLiteral("Enter"));

    EXPECT_TRUE(parseScript(QString()).ok());
    EXPECT_TRUE(parseScript(QString()).steps.isEmpty());
}

TEST(ScriptParse, BadStepsNameTheirPlace)
{
    const struct {
        const char *script;
        const char *where;
    } cases[] = {
        {"7 click:", "step 2 (click:)"},
        {"type:", "step 1 (type:)"},
        {"Enter wait:abc", "step 2 (wait:abc)"},
        {"wait:-5", "step 1 (wait:-5)"},
        {"wait:999999999", "step 1 (wait:999999999)"},
        {"a b Bogus", "step 3 (Bogus)"},
        {"type:\"unterminated", "quoted"},
    };
    for (const auto &c : cases) {
        const ParsedScript parsed = parseScript(QString::fromUtf8(c.script));
        EXPECT_FALSE(parsed.ok()) << c.script;
        EXPECT_TRUE(parsed.steps.isEmpty()) << c.script;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.where))) << parsed.error.toStdString();
    }
}

TEST(ScriptParse, MarksCarryALabelSafeForTheMarksFile)
{
    const ParsedScript parsed = parseScript(QStringLiteral("mark:consumer 7 mark:Step_2-b"));
    ASSERT_TRUE(parsed.ok()) << parsed.error.toStdString();
    ASSERT_EQ(parsed.steps.size(), 3);
    EXPECT_EQ(parsed.steps[0].kind, ScriptStep::Kind::Mark);
    EXPECT_EQ(parsed.steps[0].label, QStringLiteral("consumer"));
    EXPECT_TRUE(parsed.steps[0].keys.isEmpty()) << "a mark plays nothing";
    EXPECT_EQ(parsed.steps[2].label, QStringLiteral("Step_2-b"));

    // A blank or line break would make a second field or line in the marks file.
    for (const char *script : {"mark:", "7 mark:\"two words\"", "mark:\"a\nb\"", "mark:né", "mark:a;b", "mark:a:b"}) {
        const ParsedScript bad = parseScript(QString::fromUtf8(script));
        EXPECT_FALSE(bad.ok()) << script;
        EXPECT_TRUE(bad.error.contains(QStringLiteral("mark needs a label"))) << bad.error.toStdString();
    }
}
