#pragma once
// A wait on a server's answer bounded on the client. A driver's own timeouts hold only while the
// server and the network answer something; a server that is silent (a dropped VPN, a terminal out
// of Wi-Fi range, a proxy that stops forwarding) leaves the driver's read blocked for as long as the
// silence lasts. When the bound runs out first, the sockets the wait is on are shut down: the
// blocked read returns at once, the driver fails the call, and the caller, seeing expired(), says
// that the server did not answer in time.
//
// Sockets are those of this process (Linux: /proc/self/fd); elsewhere the bound only reports and
// the drivers' own timeouts remain.

#include "contracts/Errors.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace db {

// The sockets (by inode, which outlives a reused descriptor number) a link talks to its server on.
using SocketSet = std::set<unsigned long>;

// The sockets this process has open now.
SocketSet openSockets();
// The sockets of `now` that `before` did not have.
SocketSet socketsSince(const SocketSet &before);
// Shuts the sockets down, so that nothing waits on them any longer.
void cutSockets(const SocketSet &sockets);

// How much longer than its own bound a wait is given before its sockets are cut: a driver that
// keeps the bound itself (a cancel the server carries out, a log-in timeout) ends the wait more
// cleanly, and does so first while the server still answers.
inline constexpr int kWaitGraceMilliseconds = 2000;

// The error a wait that ran out ends in: the notice the operator reads, for a wait of that many
// seconds.
tkt::Timeout serverDidNotAnswer(int seconds);

class WaitBound {
public:
    // Bounds a wait on the given sockets; with noneBefore, on every socket opened after `sockets`
    // was taken (a log-in, whose socket does not exist yet). Milliseconds of 0 or less: no bound.
    WaitBound(SocketSet sockets, int milliseconds, bool noneBefore = false);
    ~WaitBound(); // the wait is over: the bound is lifted
    WaitBound(const WaitBound &) = delete;
    WaitBound &operator=(const WaitBound &) = delete;

    bool expired() const;

private:
    void watch(int milliseconds);
    void cut();

    SocketSet m_sockets;
    bool m_newOnly;
    mutable std::mutex m_mutex;
    std::condition_variable m_over;
    bool m_done = false;
    bool m_expired = false;
    std::thread m_watcher;
};

} // namespace db
