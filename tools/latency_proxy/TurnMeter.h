#pragma once
// Cuts one connection's traffic into turns. A request may reach the proxy in several reads and an
// answer leave it in several writes; what the client waits for is the whole exchange, so a turn
// closes only when the client speaks again after part of an answer has reached it.

#include <cstdint>
#include <optional>

namespace latency {

struct Turn {
    std::uint64_t connection = 0;
    std::int64_t startUs = 0;
    std::int64_t endUs = 0;
    std::uint64_t bytesUp = 0;
    std::uint64_t bytesDown = 0;
};

class TurnMeter {
public:
    TurnMeter(std::uint64_t connection, std::int64_t openedUs) : m_connection(connection), m_openedUs(openedUs) {}

    // Client bytes received by the proxy; returns the turn they close, if any.
    std::optional<Turn> clientSent(std::uint64_t bytes, std::int64_t nowUs);
    // Server bytes forwarded to the client.
    void serverDelivered(std::uint64_t bytes, std::int64_t nowUs);
    // The connection is gone: the turn still open, if any.
    std::optional<Turn> close(std::int64_t nowUs);

private:
    std::uint64_t m_connection;
    std::int64_t m_openedUs;
    std::optional<Turn> m_open;
};

} // namespace latency
