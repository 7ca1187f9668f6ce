#include "ProxyOptions.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstring>

namespace latency {

namespace {

bool parseNumber(const std::string &text, long lowest, long highest, long *value)
{
    const char *end = text.data() + text.size();
    const auto [next, failure] = std::from_chars(text.data(), end, *value);
    return !text.empty() && failure == std::errc() && next == end && *value >= lowest && *value <= highest;
}

bool isLoopback(const std::string &address, bool *ipv6)
{
    in_addr v4{};
    if (inet_pton(AF_INET, address.c_str(), &v4) == 1) {
        *ipv6 = false;
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, address.c_str(), &v6) == 1) {
        *ipv6 = true;
        return std::memcmp(&v6, &in6addr_loopback, sizeof v6) == 0;
    }
    return false;
}

} // namespace

bool parseUpstream(const std::string &text, Endpoint *endpoint, std::string *error)
{
    std::string host;
    std::string port;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            *error = "--upstream needs [address]:port, got '" + text + "'";
            return false;
        }
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const auto colon = text.rfind(':');
        if (colon == std::string::npos || text.find(':') != colon) {
            *error = "--upstream needs address:port (an IPv6 address in brackets), got '" + text + "'";
            return false;
        }
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host == "localhost")
        host = "127.0.0.1";
    long number = 0;
    if (!parseNumber(port, 1, 65535, &number)) {
        *error = "--upstream port must be 1 to 65535, got '" + port + "'";
        return false;
    }
    bool ipv6 = false;
    if (!isLoopback(host, &ipv6)) {
        *error = "--upstream '" + host + "' refused: only loopback addresses (127.0.0.0/8, ::1) may be proxied";
        return false;
    }
    endpoint->ipv6 = ipv6;
    endpoint->address = host;
    endpoint->port = static_cast<std::uint16_t>(number);
    return true;
}

bool parseOptions(const std::vector<std::string> &arguments, ProxyOptions *options, std::string *error)
{
    bool haveUpstream = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "-h" || name == "--help") {
            options->help = true;
            return true;
        }
        std::string value;
        const auto equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            *error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument '" + name + "'";
            return false;
        }

        long number = 0;
        if (name == "--upstream") {
            if (!parseUpstream(value, &options->upstream, error))
                return false;
            haveUpstream = true;
        } else if (name == "--listen") {
            if (!parseNumber(value, 0, 65535, &number)) {
                *error = "--listen needs a port from 0 to 65535";
                return false;
            }
            options->listenPort = static_cast<std::uint16_t>(number);
        } else if (name == "--rtt-ms") {
            if (!parseNumber(value, 0, kMaxRttMs, &number)) {
                *error = "--rtt-ms needs milliseconds from 0 to " + std::to_string(kMaxRttMs);
                return false;
            }
            options->rttMs = static_cast<int>(number);
        } else if (name == "--seconds") {
            if (!parseNumber(value, 1, kMaxSeconds, &number)) {
                *error = "--seconds needs 1 to " + std::to_string(kMaxSeconds);
                return false;
            }
            options->seconds = static_cast<int>(number);
        } else if (name == "--turns") {
            if (value.empty()) {
                *error = "--turns needs a file name";
                return false;
            }
            options->turnsFile = value;
        } else {
            *error = "unknown option '" + name + "'";
            return false;
        }
    }
    if (!haveUpstream) {
        *error = "--upstream is required";
        return false;
    }
    return true;
}

const char *usageText()
{
    return R"(usage: tkt_latency_proxy --upstream 127.0.0.1:PORT [--listen PORT] [--rtt-ms N]
                         [--seconds N] [--turns FILE]

Forwards TCP connections accepted on 127.0.0.1 to a loopback server, holding each direction's
bytes half the added round-trip time (order kept), and records the request/answer turns of every
connection: how often, and how long, a client waits on the network.

  --upstream ADDR:PORT  the server: 127.0.0.0/8, [::1] or localhost; nothing else is accepted
  --listen PORT         port on 127.0.0.1 (default 0: any free port)
  --rtt-ms N            added round-trip time, 0 to 10000 ms (default 0): client-to-server bytes are
                        held N/2 ms, server-to-client bytes the rest
  --seconds N           stop by itself after N seconds, 1 to 3600 (default 600)
  --turns FILE          append the turn log to FILE

Once it listens it prints "listening on <port>". It stops on SIGTERM or SIGINT too; connections
still open then are closed and their turns written.

SIGUSR1 makes the network silent, as a dropped VPN or a terminal out of Wi-Fi range: bytes are still
taken from both sides (so nothing is refused or reset) but none is passed on, and new connections
wait unanswered. SIGUSR2 ends the silence; what was held is passed on in order.

A turn starts when the client sends after the server's last bytes reached it (or first sends on
the connection) and ends when the client sends again after an answer, or the connection closes;
several writes either way count once. Turn log lines, one per event, times in microseconds of the
wall clock (CLOCK_REALTIME):
  open <connection> <us>
  <connection> <start-us> <end-us> <bytes-up> <bytes-down>
  close <connection> <us>
start: the proxy received the turn's first client byte; end: it forwarded the turn's last server
byte to the client, so end - start is what the client waited on the network (it includes the
added round-trip time). A turn the server never answered ends when the connection closes, with 0
bytes down. Bytes the server sends before the client's first are a turn starting at "open".
Exit codes: 0 stopped (time up or signal), 1 could not listen or write the log, 2 bad arguments.
)";
}

} // namespace latency
