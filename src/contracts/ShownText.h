#pragma once
// A text the operator reads, kept together with the source-language words it was made from: the
// screen shows the host's language, the log keeps the source, so that a technician reads every
// store's log alike.
//
// shownText(context, source) is the one way to word such a text. The catalogues' lupdate run knows
// it as an alias of QCoreApplication::translate, so `source` must be a string literal.

#include <QCoreApplication>
#include <QString>

namespace tkt {

struct ShownText {
    QString source; // Brazilian Portuguese, as written in the code; what the log writes
    QString shown;  // in the host's language; what the screen shows

    // Fills %1, %2... in both: a ShownText value in its own language in each, any other value as it is.
    template <class... Args>
    ShownText arg(const Args &...values) const;
};

template <class T>
const T &sourceOf(const T &value)
{
    return value;
}
inline const QString &sourceOf(const ShownText &text)
{
    return text.source;
}
template <class T>
const T &shownOf(const T &value)
{
    return value;
}
inline const QString &shownOf(const ShownText &text)
{
    return text.shown;
}

template <class... Args>
ShownText ShownText::arg(const Args &...values) const
{
    return {source.arg(sourceOf(values)...), shown.arg(shownOf(values)...)};
}

inline ShownText shownText(const char *context, const char *source)
{
    return {QString::fromUtf8(source), QCoreApplication::translate(context, source)};
}

// A text that comes from outside (a driver's message, a name), the same in every language.
inline ShownText untranslated(const QString &text)
{
    return {text, text};
}

} // namespace tkt
