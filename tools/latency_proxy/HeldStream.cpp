#include "HeldStream.h"

#include <cerrno>
#include <sys/socket.h>

namespace latency {

void HeldStream::hold(const char *data, std::size_t size, SteadyTime due)
{
    m_chunks.push_back(Chunk{due, std::string(data, size), 0});
    m_queued += size;
}

long HeldStream::release(int socket, SteadyTime now)
{
    m_blocked = false;
    long total = 0;
    while (!m_chunks.empty() && m_chunks.front().due <= now) {
        Chunk &chunk = m_chunks.front();
        const ssize_t sent = ::send(socket, chunk.bytes.data() + chunk.sent, chunk.bytes.size() - chunk.sent,
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0) {
            // Interrupted: what is left goes out on the next release, which is due at once.
            if (errno == EINTR)
                return total;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                m_blocked = true;
                return total;
            }
            return -1;
        }
        total += sent;
        m_queued -= static_cast<std::size_t>(sent);
        chunk.sent += static_cast<std::size_t>(sent);
        if (chunk.sent == chunk.bytes.size())
            m_chunks.pop_front();
    }
    return total;
}

std::optional<SteadyTime> HeldStream::nextDue() const
{
    if (m_chunks.empty())
        return std::nullopt;
    return m_chunks.front().due;
}

} // namespace latency
