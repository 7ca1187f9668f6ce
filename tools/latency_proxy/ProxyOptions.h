#pragma once
// The proxy's command line. Only loopback addresses are ever connected to or listened on: the
// proxy exists to imitate a distant server on one machine, never to relay to another.

#include <cstdint>
#include <string>
#include <vector>

namespace latency {

struct Endpoint {
    bool ipv6 = false;
    std::string address; // numeric: "127.0.0.1", "::1"
    std::uint16_t port = 0;
};

struct ProxyOptions {
    Endpoint upstream;
    std::uint16_t listenPort = 0; // 0: the system picks one
    int rttMs = 0;
    int seconds = 600;
    std::string turnsFile; // empty: no log
    bool help = false;
};

constexpr int kMaxRttMs = 10000;
constexpr int kMaxSeconds = 3600;

// "127.0.0.1:5432", "[::1]:5432", "localhost:5432". False with the reason for anything that is not
// a numeric loopback address with a port; no name is ever looked up.
bool parseUpstream(const std::string &text, Endpoint *endpoint, std::string *error);

// arguments without the program name. False with the reason; --help sets help and stops there.
bool parseOptions(const std::vector<std::string> &arguments, ProxyOptions *options, std::string *error);

const char *usageText();

} // namespace latency
