#pragma once
// The exception family of the module and its siblings. Every failure a user can meet is an
// Error carrying a readable text; Abort is the silent one that ends an event without a message.

#include <QString>
#include <exception>
#include <stdexcept>

namespace tkt {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Ends the current event quietly: the event guard swallows it and shows nothing.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// The readable text of any exception of the family (or of the standard library).
inline QString messageOf(const std::exception &e)
{
    if (auto *err = dynamic_cast<const Error *>(&e))
        return err->message();
    return QString::fromUtf8(e.what());
}

} // namespace tkt
