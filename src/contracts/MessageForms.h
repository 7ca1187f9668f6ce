#pragma once
// The three ways the dialog calls Mensagem: a notice, a question, and the badge question.

#include "contracts/SharedServices.h"

namespace contracts {

inline void notice(const QString &text, const QString &scheme)
{
    Mensagem(text, QString(), QStringLiteral("N"), QStringLiteral("N"), 3, QString(), scheme, 0, nullptr);
}

inline bool question(const QString &text, const QString &scheme)
{
    return Mensagem(text, QString(), QStringLiteral("N"), QStringLiteral("S"), 3, QString(), scheme, 0,
                    nullptr);
}

inline bool badgeQuestion(const QString &text)
{
    return Mensagem(text, QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("S"), 0, QString(),
                    QString(), 0, nullptr);
}

} // namespace contracts
