#include "pos_host/MarkLog.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace poshost {

MarkLog::~MarkLog()
{
    if (m_file)
        std::fclose(m_file);
}

bool MarkLog::open(const QString &path, QString *error)
{
    m_file = std::fopen(QFile::encodeName(path).constData(), "a");
    if (!m_file) {
        *error = QStringLiteral("Cannot open the marks file %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

void MarkLog::write(int dialog, const QString &label)
{
    if (!m_file)
        return;
    // The system clock is CLOCK_REALTIME, the clock other tools of this machine log in.
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::fprintf(m_file, "%lld %d %s\n", static_cast<long long>(now), dialog, label.toUtf8().constData());
    std::fflush(m_file);
}

} // namespace poshost
