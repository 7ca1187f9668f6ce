// tkt_latency_proxy: puts a distant database server on this machine. Run it in front of a loopback
// server with an added round-trip time, point the client at it, and read from its turn log how
// many times, and how long, the client waited on the network.
#include "Proxy.h"
#include "ProxyOptions.h"
#include "TurnLog.h"

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t silent = 0;

void requestStop(int)
{
    stopRequested = 1;
}

void silence(int)
{
    silent = 1;
}

void speak(int)
{
    silent = 0;
}

void onStopSignals()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the signal cuts poll short and the loop sees the request at once.
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    action.sa_handler = silence;
    sigaction(SIGUSR1, &action, nullptr);
    action.sa_handler = speak;
    sigaction(SIGUSR2, &action, nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    latency::ProxyOptions options;
    std::string error;
    if (!latency::parseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "tkt_latency_proxy: %s\n(see tkt_latency_proxy --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(latency::usageText(), stdout);
        return 0;
    }

    latency::TurnLog log;
    if (!options.turnsFile.empty() && !log.open(options.turnsFile, &error)) {
        std::fprintf(stderr, "tkt_latency_proxy: %s\n", error.c_str());
        return 1;
    }
    onStopSignals();
    latency::Proxy proxy(options, &log);
    if (!proxy.listen(&error)) {
        std::fprintf(stderr, "tkt_latency_proxy: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening on %u\n", static_cast<unsigned>(proxy.port()));
    std::fflush(stdout);

    proxy.run(&stopRequested, &silent);
    if (!log.healthy()) {
        std::fprintf(stderr, "tkt_latency_proxy: the turn log could not be written in full\n");
        return 1;
    }
    return 0;
}
