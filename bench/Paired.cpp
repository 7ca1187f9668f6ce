#include "Paired.h"

#include "contracts/Errors.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const Run &run, int times)
{
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < times; ++i)
        run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// About a millisecond of each run per turn: long enough that the first run of a turn, which finds
// the caches as the other left them, weighs little; short against the machine's slow spells.
int blockFor(double slowerRunSeconds)
{
    return std::clamp(int(1e-3 / std::max(slowerRunSeconds, 1e-9)), 1, 64);
}

void runPaired(benchmark::State &state, const Run &measured, const Run &floor)
{
    double measuredTotal = 0;
    double floorTotal = 0;
    const int block = blockFor(std::max(secondsOf(floor, 1), secondsOf(measured, 1)));
    for (auto _ : state) {
        floorTotal += secondsOf(floor, block);
        const double m = secondsOf(measured, block);
        measuredTotal += m;
        state.SetIterationTime(m / block);
    }
    const double calls = double(state.iterations()) * block;
    state.counters["floor"] = calls > 0 ? floorTotal / calls * 1e6 : 0;
    state.counters["ratio"] = floorTotal > 0 ? measuredTotal / floorTotal : 0;
}

} // namespace

void registerPaired(const std::string &name, PairedSetup setup)
{
    benchmark::RegisterBenchmark(name.c_str(), [setup](benchmark::State &state) {
        try {
            const std::pair<Run, Run> runs = setup();
            runPaired(state, runs.first, runs.second);
        } catch (const std::exception &e) {
            state.SkipWithError(tkt::messageOf(e).toUtf8().constData());
        }
    })->UseManualTime()->Unit(benchmark::kMicrosecond);
}

} // namespace bench
