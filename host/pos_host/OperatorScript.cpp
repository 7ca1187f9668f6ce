#include "pos_host/OperatorScript.h"

#include <QKeySequence>

namespace posscript {

namespace {

constexpr int kLongestWait = 10 * 60 * 1000;

// Labels end up in a blank-separated measurement file: nothing that could split or break a line.
bool isMarkLabel(const QString &label)
{
    if (label.isEmpty())
        return false;
    for (const QChar c : label) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
            || u == u'_' || u == u'-';
        if (!allowed)
            return false;
    }
    return true;
}

// What the named keys type when no Ctrl, Alt or Meta is held, as a real keyboard reports them.
QString controlTextOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QString(QChar(char16_t(0x1B)));
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Delete:
        return QString(QChar(char16_t(0x7F)));
    default:
        return {};
    }
}

bool typesNothing(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool isPrintableLatin1Key(Qt::Key key)
{
    return key >= Qt::Key_Space && key <= Qt::Key_ydiaeresis;
}

// The text of a key named by its Qt name ("A", "Space", "F1") under the given modifiers.
QString textOf(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (typesNothing(modifiers))
        return {};
    if (isPrintableLatin1Key(key)) {
        const QChar c(static_cast<char16_t>(key));
        return (modifiers & Qt::ShiftModifier) ? QString(c.toUpper()) : QString(c.toLower());
    }
    return controlTextOf(key);
}

bool modifierNamed(const QString &name, Qt::KeyboardModifiers *modifier)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("ctrl") || lower == QLatin1String("control"))
        *modifier = Qt::ControlModifier;
    else if (lower == QLatin1String("alt"))
        *modifier = Qt::AltModifier;
    else if (lower == QLatin1String("shift"))
        *modifier = Qt::ShiftModifier;
    else if (lower == QLatin1String("meta"))
        *modifier = Qt::MetaModifier;
    else if (lower == QLatin1String("num"))
        *modifier = Qt::KeypadModifier;
    else
        return false;
    return true;
}

// A key name without modifiers: one character, or a name QKeySequence knows ("F1", "Escape").
bool keyNamed(const QString &name, Qt::KeyboardModifiers modifiers, Qt::Key *key)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("esc")) {
        *key = Qt::Key_Escape;
        return true;
    }
    if (lower == QLatin1String("enter")) {
        *key = (modifiers & Qt::KeypadModifier) ? Qt::Key_Enter : Qt::Key_Return;
        return true;
    }
    if (name.size() == 1) {
        *key = keyForCharacter(name.at(0)).key;
        return true;
    }
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return false;
    const QKeyCombination combination = sequence[0];
    if (combination.keyboardModifiers() != Qt::NoModifier || combination.key() == Qt::Key_unknown)
        return false;
    *key = combination.key();
    return true;
}

} // namespace

KeyStroke keyForCharacter(QChar character)
{
    // Qt names a character's key after its upper-case form (Key_A for 'a', Key_Ccedilla for 'ç').
    const char16_t upper = character.toUpper().unicode();
    return KeyStroke{static_cast<Qt::Key>(upper), Qt::NoModifier, QString(character)};
}

bool parseKey(const QString &keyText, KeyStroke *stroke, QString *error)
{
    // "Ctrl++" is Ctrl with the plus key: the last '+' of a key text ending in "++" is the key.
    QStringList parts;
    if (keyText == QLatin1String("+")) {
        parts.append(keyText);
    } else if (keyText.endsWith(QLatin1String("++"))) {
        parts = keyText.chopped(2).split(QLatin1Char('+'));
        parts.append(QStringLiteral("+"));
    } else {
        parts = keyText.split(QLatin1Char('+'));
    }
    const QString keyName = parts.takeLast();
    if (keyName.isEmpty()) {
        *error = QStringLiteral("'%1' names no key").arg(keyText);
        return false;
    }

    Qt::KeyboardModifiers modifiers;
    for (const QString &part : std::as_const(parts)) {
        Qt::KeyboardModifiers modifier;
        if (!modifierNamed(part, &modifier)) {
            *error = QStringLiteral("'%1' is not a modifier (Ctrl, Alt, Shift, Meta, Num) in '%2'").arg(part, keyText);
            return false;
        }
        modifiers |= modifier;
    }

    Qt::Key key = Qt::Key_unknown;
    if (!keyNamed(keyName, modifiers, &key)) {
        *error = QStringLiteral("'%1' is not a key").arg(keyText);
        return false;
    }

    stroke->key = key;
    stroke->modifiers = modifiers;
    if (keyName.size() == 1)
        stroke->text = typesNothing(modifiers) ? QString()
                       : (modifiers & Qt::ShiftModifier) ? keyName.toUpper()
                                                          : keyName;
    else
        stroke->text = textOf(key, modifiers);
    return true;
}

bool splitTokens(const QString &script, QStringList *tokens, QString *error)
{
    tokens->clear();
    QString current;
    bool inToken = false;
    bool quoted = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < script.size()
                && (script.at(i + 1) == QLatin1Char('"') || script.at(i + 1) == QLatin1Char('\\'))) {
                current.append(script.at(++i));
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current.append(c);
            }
        } else if (c.isSpace()) {
            if (inToken)
                tokens->append(current);
            current.clear();
            inToken = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inToken = true;
        } else {
            current.append(c);
            inToken = true;
        }
    }
    if (quoted) {
        *error = QStringLiteral("the script ends inside a quoted text");
        return false;
    }
    if (inToken)
        tokens->append(current);
    return true;
}

ParsedScript parseScript(const QString &script)
{
    ParsedScript parsed;
    QStringList tokens;
    if (!splitTokens(script, &tokens, &parsed.error))
        return parsed;

    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QString &token = tokens.at(i);
        const auto fail = [&](const QString &why) {
            parsed.steps.clear();
            parsed.error = QStringLiteral("step %1 (%2): %3").arg(i + 1).arg(token, why);
            return parsed;
        };

        ScriptStep step;
        step.token = token;
        if (token.startsWith(QLatin1String("click:"))) {
            step.kind = ScriptStep::Kind::Click;
            step.objectName = token.mid(6);
            if (step.objectName.isEmpty())
                return fail(QStringLiteral("click needs an object name"));
        } else if (token.startsWith(QLatin1String("type:"))) {
            step.kind = ScriptStep::Kind::Type;
            const QString text = token.mid(5);
            if (text.isEmpty())
                return fail(QStringLiteral("type needs a text"));
            for (const QChar c : text)
                step.keys.append(keyForCharacter(c));
        } else if (token.startsWith(QLatin1String("wait:"))) {
            step.kind = ScriptStep::Kind::Wait;
            bool number = false;
            step.milliseconds = token.mid(5).toInt(&number);
            if (!number || step.milliseconds < 0 || step.milliseconds > kLongestWait)
                return fail(QStringLiteral("wait needs milliseconds between 0 and %1").arg(kLongestWait));
        } else if (token.startsWith(QLatin1String("mark:"))) {
            step.kind = ScriptStep::Kind::Mark;
            step.label = token.mid(5);
            if (!isMarkLabel(step.label))
                return fail(QStringLiteral("mark needs a label of letters, digits, _ and -"));
        } else {
            step.kind = ScriptStep::Kind::Key;
            KeyStroke stroke;
            QString why;
            if (!parseKey(token, &stroke, &why))
                return fail(why);
            step.keys.append(stroke);
        }
        parsed.steps.append(step);
    }
    return parsed;
}

} // namespace posscript
