// Operator scripts as the demo host reads them from its command line or a file: parsed or refused
// with a reason, never half-parsed.

#include "FuzzSupport.h"
#include "pos_host/OperatorScript.h"

namespace {

using posscript::ScriptStep;

// A token written so that the splitter gives it back whole: quoted, with \ and " escaped.
QString quotedToken(QString token)
{
    token.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + token + u'"';
}

void tokensSurviveQuoting(const QStringList &tokens, const QString &script)
{
    QStringList quoted;
    for (const QString &t : tokens)
        quoted.append(quotedToken(t));
    QStringList again;
    QString error;
    fuzz::require(posscript::splitTokens(quoted.join(u' '), &again, &error), "quoted tokens split", script);
    fuzz::require(again == tokens, "quoted tokens split back into themselves",
                  script + QStringLiteral("\n=> ") + fuzz::listed(tokens) + QStringLiteral("\nagain: ") + fuzz::listed(again));
}

void keyIsWellFormed(const posscript::KeyStroke &key, const QString &script)
{
    const Qt::KeyboardModifiers known = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier
                                        | Qt::MetaModifier | Qt::KeypadModifier;
    fuzz::require((key.modifiers & ~known) == Qt::NoModifier, "keys carry only the modifiers scripts name", script);
    if (key.modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        fuzz::require(key.text.isEmpty(), "a key under Ctrl, Alt or Meta types nothing", script);
}

void check(const QString &script)
{
    QStringList tokens;
    QString splitError;
    const bool split = posscript::splitTokens(script, &tokens, &splitError);
    if (split)
        tokensSurviveQuoting(tokens, script);

    const posscript::ParsedScript parsed = posscript::parseScript(script);
    if (!parsed.ok()) {
        fuzz::require(parsed.steps.isEmpty(), "a refused script has no steps", script);
    } else {
        fuzz::require(split, "a script that parsed split", script);
        fuzz::require(parsed.steps.size() == tokens.size(), "one step per token", script);
        for (qsizetype i = 0; i < parsed.steps.size(); ++i) {
            const ScriptStep &step = parsed.steps.at(i);
            fuzz::require(step.token == tokens.at(i), "a step keeps its token as written", script);
            switch (step.kind) {
            case ScriptStep::Kind::Key:
                fuzz::require(step.keys.size() == 1, "a key step is one key", script);
                break;
            case ScriptStep::Kind::Type:
                fuzz::require(step.keys.size() == step.token.size() - 5, "one key per typed character", script);
                break;
            case ScriptStep::Kind::Click:
                fuzz::require(!step.objectName.isEmpty(), "a click names a widget", script);
                break;
            case ScriptStep::Kind::Wait:
                fuzz::require(step.milliseconds >= 0, "a wait is never negative", script);
                break;
            case ScriptStep::Kind::Mark:
                fuzz::require(!step.label.isEmpty(), "a mark has a label", script);
                break;
            }
            for (const posscript::KeyStroke &key : step.keys)
                keyIsWellFormed(key, script);
        }
    }

    posscript::KeyStroke key;
    QString error;
    if (posscript::parseKey(script, &key, &error))
        keyIsWellFormed(key, script);
    else
        fuzz::require(!error.isEmpty(), "a refused key says why", script);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    check(fuzz::utf8Of(data, size));
    return 0;
}
