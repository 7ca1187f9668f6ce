#pragma once
// One direction of a proxied connection: bytes wait here until their hold time is over, then go
// out in the order they came in. A peer that reads slowly leaves the rest queued, not dropped.

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace latency {

using SteadyTime = std::chrono::steady_clock::time_point;

class HeldStream {
public:
    void hold(const char *data, std::size_t size, SteadyTime due);

    // Sends what is due to the socket without blocking. Returns the bytes sent, or -1 when the
    // socket failed (errno tells why); stops early when the socket is full (see blocked()).
    long release(int socket, SteadyTime now);

    bool empty() const { return m_chunks.empty(); }
    std::size_t queuedBytes() const { return m_queued; }
    // The socket took no more at the last release: wait for it to be writable.
    bool blocked() const { return m_blocked; }
    // When the next chunk falls due, if one is waiting.
    std::optional<SteadyTime> nextDue() const;

private:
    struct Chunk {
        SteadyTime due;
        std::string bytes;
        std::size_t sent = 0;
    };
    std::deque<Chunk> m_chunks;
    std::size_t m_queued = 0;
    bool m_blocked = false;
};

} // namespace latency
