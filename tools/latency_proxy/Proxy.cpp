#include "Proxy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace latency {

namespace {

constexpr std::size_t kMaxConnections = 256;
constexpr std::size_t kReadSize = 64 * 1024;
// Reads per socket per wake, and accepts per wake: one busy peer cannot starve the others.
constexpr int kReadsPerWake = 16;
constexpr int kAcceptsPerWake = 16;
// A side stops being read while this much of its traffic waits for the other side.
constexpr std::size_t kMaxQueued = 4 * 1024 * 1024;
// Longest sleep of the loop, so a signal that slips in just before poll is seen soon.
constexpr int kLongestWaitMs = 100;

std::int64_t wallClockUs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void tuneSocket(int socket)
{
    // Small requests and answers must leave at once: Nagle's delay would be counted as network wait.
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
}

int connectUpstream(const Endpoint &upstream)
{
    sockaddr_storage address{};
    socklen_t length = 0;
    if (upstream.ipv6) {
        auto *v6 = reinterpret_cast<sockaddr_in6 *>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(upstream.port);
        inet_pton(AF_INET6, upstream.address.c_str(), &v6->sin6_addr);
        length = sizeof *v6;
    } else {
        auto *v4 = reinterpret_cast<sockaddr_in *>(&address);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(upstream.port);
        inet_pton(AF_INET, upstream.address.c_str(), &v4->sin_addr);
        length = sizeof *v4;
    }
    const int server = socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (server < 0)
        return -1;
    // A loopback connect is answered at once, accepted or refused; it never waits on a network.
    if (connect(server, reinterpret_cast<sockaddr *>(&address), length) != 0) {
        const int saved = errno;
        close(server);
        errno = saved;
        return -1;
    }
    tuneSocket(server);
    return server;
}

void warn(const std::string &message)
{
    std::fprintf(stderr, "tkt_latency_proxy: %s\n", message.c_str());
}

} // namespace

Proxy::Proxy(ProxyOptions options, TurnLog *log)
    : m_options(std::move(options)), m_log(log),
      m_holdUp(std::chrono::microseconds(m_options.rttMs * 1000 / 2)),
      m_holdDown(std::chrono::microseconds(m_options.rttMs * 1000 - m_options.rttMs * 1000 / 2))
{
}

Proxy::~Proxy()
{
    for (auto &connection : m_connections)
        finish(*connection);
    if (m_listen >= 0)
        close(m_listen);
}

bool Proxy::listen(std::string *error)
{
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listen < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int on = 1;
    setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_options.listenPort);
    socklen_t length = sizeof address;
    if (bind(m_listen, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listen, 64) != 0
        || getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        *error = "cannot listen on 127.0.0.1:" + std::to_string(m_options.listenPort) + ": " + std::strerror(errno);
        return false;
    }
    m_port = ntohs(address.sin_port);
    return true;
}

void Proxy::run(const volatile std::sig_atomic_t *stop, const volatile std::sig_atomic_t *silent)
{
    const SteadyTime deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_options.seconds);
    std::vector<pollfd> fds;
    while (!*stop && std::chrono::steady_clock::now() < deadline) {
        const bool quiet = *silent != 0;
        fds.clear();
        // A silent network leaves new clients in the listen queue, connected and unanswered.
        fds.push_back({quiet ? -1 : m_listen, POLLIN, 0});
        // A side is read only while the other can still take its bytes; a negative descriptor is
        // skipped by poll, so a side with nothing to wait for does not wake the loop.
        for (const auto &c : m_connections) {
            const short clientEvents = static_cast<short>(
                (!c->clientEnded && c->toServer.queuedBytes() < kMaxQueued ? POLLIN : 0)
                | (!quiet && c->toClient.blocked() ? POLLOUT : 0));
            const short serverEvents = static_cast<short>(
                (!c->serverEnded && c->toClient.queuedBytes() < kMaxQueued ? POLLIN : 0)
                | (!quiet && c->toServer.blocked() ? POLLOUT : 0));
            fds.push_back({clientEvents ? c->client : -1, clientEvents, 0});
            fds.push_back({serverEvents ? c->server : -1, serverEvents, 0});
        }
        const int ready = poll(fds.data(), fds.size(), pollTimeoutMs(deadline, quiet));
        if (ready < 0 && errno != EINTR) {
            warn(std::string("poll: ") + std::strerror(errno));
            break;
        }

        // Connections accepted below have no entry in fds yet; only the earlier ones are read.
        const std::size_t polled = m_connections.size();
        for (std::size_t i = 0; ready > 0 && i < polled; ++i) {
            Connection &c = *m_connections[i];
            if (fds[1 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR))
                readClient(c);
            if (fds[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR))
                readServer(c);
        }
        if (ready > 0 && !quiet && (fds[0].revents & POLLIN))
            acceptClients();

        for (auto &c : m_connections)
            pump(*c, quiet);
        std::erase_if(m_connections, [this](const std::unique_ptr<Connection> &c) {
            const bool done = c->failed || (c->serverShut && c->clientShut);
            if (done)
                finish(*c);
            return done;
        });
    }
    for (auto &c : m_connections)
        finish(*c);
    m_connections.clear();
}

int Proxy::pollTimeoutMs(SteadyTime deadline, bool silent) const
{
    const SteadyTime now = std::chrono::steady_clock::now();
    SteadyTime wake = std::min(deadline, now + std::chrono::milliseconds(kLongestWaitMs));
    // Held bytes fall due in silence too, but nothing goes out until it ends.
    for (const auto &c : m_connections) {
        if (silent)
            break;
        for (const HeldStream *stream : {&c->toServer, &c->toClient}) {
            const auto due = stream->nextDue();
            if (due && !stream->blocked())
                wake = std::min(wake, *due);
        }
    }
    if (wake <= now)
        return 0;
    // Rounded up: waking a little early would only spin until the hold is over.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wake - now).count());
}

void Proxy::acceptClients()
{
    for (int i = 0; i < kAcceptsPerWake; ++i) {
        const int client = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        if (m_connections.size() >= kMaxConnections) {
            warn("refused a connection: " + std::to_string(kMaxConnections) + " are open");
            close(client);
            continue;
        }
        const int server = connectUpstream(m_options.upstream);
        if (server < 0) {
            warn("cannot reach the upstream " + m_options.upstream.address + ":"
                 + std::to_string(m_options.upstream.port) + ": " + std::strerror(errno));
            close(client);
            continue;
        }
        tuneSocket(client);
        const std::int64_t now = wallClockUs();
        m_connections.push_back(std::make_unique<Connection>(m_nextId++, client, server, now));
        m_log->opened(m_connections.back()->id, now);
    }
}

void Proxy::readClient(Connection &c)
{
    char buffer[kReadSize];
    for (int i = 0; i < kReadsPerWake && !c.clientEnded && c.toServer.queuedBytes() < kMaxQueued; ++i) {
        const ssize_t got = recv(c.client, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            if (const auto turn = c.meter.clientSent(static_cast<std::uint64_t>(got), wallClockUs()))
                m_log->turn(*turn);
            c.toServer.hold(buffer, static_cast<std::size_t>(got), std::chrono::steady_clock::now() + m_holdUp);
        } else if (got == 0) {
            c.clientEnded = true;
        } else {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                c.failed = true;
            return;
        }
    }
}

void Proxy::readServer(Connection &c)
{
    char buffer[kReadSize];
    for (int i = 0; i < kReadsPerWake && !c.serverEnded && c.toClient.queuedBytes() < kMaxQueued; ++i) {
        const ssize_t got = recv(c.server, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            c.toClient.hold(buffer, static_cast<std::size_t>(got), std::chrono::steady_clock::now() + m_holdDown);
        } else if (got == 0) {
            c.serverEnded = true;
        } else {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                c.failed = true;
            return;
        }
    }
}

void Proxy::pump(Connection &c, bool silent)
{
    if (c.failed || silent)
        return;
    const SteadyTime now = std::chrono::steady_clock::now();
    if (c.toServer.release(c.server, now) < 0)
        c.failed = true;
    const long delivered = c.toClient.release(c.client, now);
    if (delivered < 0)
        c.failed = true;
    else if (delivered > 0)
        c.meter.serverDelivered(static_cast<std::uint64_t>(delivered), wallClockUs());

    // An end of stream is passed on only after every byte sent before it.
    if (c.clientEnded && c.toServer.empty() && !c.serverShut) {
        shutdown(c.server, SHUT_WR);
        c.serverShut = true;
    }
    if (c.serverEnded && c.toClient.empty() && !c.clientShut) {
        shutdown(c.client, SHUT_WR);
        c.clientShut = true;
    }
}

void Proxy::finish(Connection &c)
{
    if (c.client < 0)
        return;
    const std::int64_t now = wallClockUs();
    if (const auto turn = c.meter.close(now))
        m_log->turn(*turn);
    m_log->closed(c.id, now);
    close(c.client);
    close(c.server);
    c.client = c.server = -1;
}

} // namespace latency
