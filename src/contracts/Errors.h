#pragma once
// The exception family of the module and its siblings. Every failure a user can meet is an
// Error carrying a readable text; Abort is the silent one that ends an event without a message.

#include "contracts/ShownText.h"

#include <QString>
#include <exception>
#include <stdexcept>

namespace tkt {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message), m_shown(message) {}
    explicit Error(const ShownText &text)
        : std::runtime_error(text.source.toStdString()), m_message(text.source), m_shown(text.shown) {}
    // In the source language: what logs and callers across the C ABI get.
    QString message() const { return m_message; }
    // In the host's language: what the operator is shown.
    QString shown() const { return m_shown; }

private:
    QString m_message;
    QString m_shown;
};

// The store's server did not answer within the time a wait may take: the message is the notice the
// operator reads (the driver's own text goes to the log). The entry can be tried again.
class Timeout : public Error {
public:
    using Error::Error;
};

// Ends the current event quietly: the event guard swallows it and shows nothing.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// The readable text of any exception of the family (or of the standard library), in the source
// language: for logs.
inline QString messageOf(const std::exception &e)
{
    if (auto *err = dynamic_cast<const Error *>(&e))
        return err->message();
    return QString::fromUtf8(e.what());
}

// Both texts of any exception: the source for the log, the host's language for the screen.
inline ShownText shownTextOf(const std::exception &e)
{
    if (auto *err = dynamic_cast<const Error *>(&e))
        return {err->message(), err->shown()};
    return untranslated(QString::fromUtf8(e.what()));
}

} // namespace tkt
