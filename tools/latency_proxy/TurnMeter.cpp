#include "TurnMeter.h"

#include <utility>

namespace latency {

std::optional<Turn> TurnMeter::clientSent(std::uint64_t bytes, std::int64_t nowUs)
{
    std::optional<Turn> finished;
    if (m_open && m_open->bytesDown > 0)
        finished = std::exchange(m_open, std::nullopt);
    if (!m_open)
        m_open = Turn{m_connection, nowUs, nowUs, 0, 0};
    m_open->bytesUp += bytes;
    return finished;
}

void TurnMeter::serverDelivered(std::uint64_t bytes, std::int64_t nowUs)
{
    // A server that speaks first (a greeting) had the client waiting since the connection opened.
    if (!m_open)
        m_open = Turn{m_connection, m_openedUs, m_openedUs, 0, 0};
    m_open->bytesDown += bytes;
    m_open->endUs = nowUs;
}

std::optional<Turn> TurnMeter::close(std::int64_t nowUs)
{
    if (m_open && m_open->bytesDown == 0)
        m_open->endUs = nowUs;
    return std::exchange(m_open, std::nullopt);
}

} // namespace latency
