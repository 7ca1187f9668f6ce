#include "TurnLog.h"

#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstring>

namespace latency {

TurnLog::~TurnLog()
{
    if (m_file)
        std::fclose(m_file);
}

bool TurnLog::open(const std::string &path, std::string *error)
{
    m_file = std::fopen(path.c_str(), "a");
    if (!m_file) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void TurnLog::opened(std::uint64_t connection, std::int64_t us)
{
    line("open %" PRIu64 " %" PRId64 "\n", connection, us);
}

void TurnLog::turn(const Turn &t)
{
    line("%" PRIu64 " %" PRId64 " %" PRId64 " %" PRIu64 " %" PRIu64 "\n", t.connection, t.startUs, t.endUs,
         t.bytesUp, t.bytesDown);
}

void TurnLog::closed(std::uint64_t connection, std::int64_t us)
{
    line("close %" PRIu64 " %" PRId64 "\n", connection, us);
}

void TurnLog::line(const char *format, ...)
{
    if (!m_file)
        return;
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vfprintf(m_file, format, arguments);
    va_end(arguments);
    if (written < 0 || std::fflush(m_file) != 0)
        m_healthy = false;
}

} // namespace latency
