#pragma once
// The proxy's one event loop: accepts on 127.0.0.1, connects each client to the upstream server,
// and moves bytes both ways through held streams, metering turns as they pass.

#include "HeldStream.h"
#include "ProxyOptions.h"
#include "TurnLog.h"
#include "TurnMeter.h"

#include <csignal>
#include <memory>
#include <string>
#include <vector>

namespace latency {

class Proxy {
public:
    Proxy(ProxyOptions options, TurnLog *log);
    ~Proxy();
    Proxy(const Proxy &) = delete;
    Proxy &operator=(const Proxy &) = delete;

    // Binds the listening socket; false with the reason.
    bool listen(std::string *error);
    std::uint16_t port() const { return m_port; }

    // Serves until --seconds are over or *stop turns non-zero, then closes every connection,
    // writing the turns still open. While *silent is non-zero nothing is passed on and no new
    // connection is taken up: the network between the two sides is silent.
    void run(const volatile std::sig_atomic_t *stop, const volatile std::sig_atomic_t *silent);

private:
    struct Connection {
        std::uint64_t id = 0;
        int client = -1;
        int server = -1;
        HeldStream toServer;
        HeldStream toClient;
        TurnMeter meter;
        bool clientEnded = false; // the client will send nothing more
        bool serverEnded = false;
        bool serverShut = false;  // the server was told the client is done
        bool clientShut = false;
        bool failed = false;

        Connection(std::uint64_t id_, int client_, int server_, std::int64_t openedUs)
            : id(id_), client(client_), server(server_), meter(id_, openedUs) {}
    };

    void acceptClients();
    void readClient(Connection &connection);
    void readServer(Connection &connection);
    void pump(Connection &connection, bool silent);
    void finish(Connection &connection);
    int pollTimeoutMs(SteadyTime deadline, bool silent) const;

    ProxyOptions m_options;
    TurnLog *m_log;
    int m_listen = -1;
    std::uint16_t m_port = 0;
    std::uint64_t m_nextId = 1;
    std::chrono::microseconds m_holdUp{0};
    std::chrono::microseconds m_holdDown{0};
    std::vector<std::unique_ptr<Connection>> m_connections;
};

} // namespace latency
