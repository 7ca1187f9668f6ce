#pragma once
// The command line's shape: the help text and the error for arguments that do not fit it.

#include <QString>
#include <stdexcept>

namespace cdstool {

// Exit statuses, as the help text documents them.
enum Exit : int { Ok = 0, Refused = 1, BadUsage = 2 };

// Arguments that do not fit any command; main answers it with the usage line and BadUsage.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

QString helpText();
QString usageLine();

} // namespace cdstool
