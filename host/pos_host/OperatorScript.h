#pragma once
// Operator scripts: what an operator does at the till, written as blank-separated steps.
//
//   click:<objectName>   a left click at the centre of the named widget of the active window
//   type:<text>          one key per character, carrying the character as its text
//   wait:<ms>            a pause before the next step
//   mark:<label>         plays nothing: tells the host that the operator's next action starts
//                        here, so that what the action costs can be measured; the label is
//                        letters, digits, '_' and '-'
//   <key>                one key: "7", "a", "Enter", "Esc", "Backspace", "F1", "Alt+X",
//                        "Ctrl+Enter", "Alt+Shift+C" (modifiers Ctrl, Alt, Shift, Meta)
//
// A double-quoted part keeps its blanks (type:"Maria José"); inside quotes \" and \\ stand for
// themselves. "Enter" is the main keyboard's Enter (Qt::Key_Return, as a real keyboard sends it);
// the keypad's is "Num+Enter".

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

namespace posscript {

// One key as the keyboard sends it: the text is what the key types, empty when it types nothing
// (function keys, or any key while Ctrl, Alt or Meta is held).
struct KeyStroke {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;

    friend bool operator==(const KeyStroke &, const KeyStroke &) = default;
};

struct ScriptStep {
    enum class Kind { Click, Type, Wait, Key, Mark };

    Kind kind = Kind::Key;
    QString token;          // as written, for reports
    QString objectName;     // Click
    QString label;          // Mark
    QList<KeyStroke> keys;  // Type: one per character; Key: exactly one
    int milliseconds = 0;   // Wait
};

struct ParsedScript {
    QList<ScriptStep> steps;
    QString error; // empty when the whole script parsed

    bool ok() const { return error.isEmpty(); }
};

// Splits at blanks outside double quotes and removes the quotes. Fails on an unterminated quote.
bool splitTokens(const QString &script, QStringList *tokens, QString *error);

ParsedScript parseScript(const QString &script);

// "Alt+X", "Esc", "7"...; false (with a reason) for an unknown key or modifier.
bool parseKey(const QString &keyText, KeyStroke *stroke, QString *error);

// The key a character is typed with, carrying the character as its text.
KeyStroke keyForCharacter(QChar character);

} // namespace posscript
