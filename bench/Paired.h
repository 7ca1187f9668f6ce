#pragma once
// A measurement and its floor, timed by turns in short blocks inside one benchmark. A shared
// machine speeds up and slows down over seconds, far longer than a block, so a slow spell falls on
// both alike: their ratio holds still where two benchmarks timed apart drift by a third.

#include <functional>
#include <string>
#include <utility>

namespace bench {

// One run of a measurement or of its floor; throws (tkt::Error) when its result is wrong, which
// ends the benchmark with that message.
using Run = std::function<void()>;

// Registers name as a paired benchmark, in microseconds. setup() runs outside the timing each time
// the benchmark starts and hands back the measured run and the floor run. The benchmark's time is
// the measured run's; its counters are "floor" (the floor run's time) and "ratio" (measured over
// floor, summed over the same blocks).
using PairedSetup = std::function<std::pair<Run, Run>()>;
void registerPaired(const std::string &name, PairedSetup setup);

} // namespace bench
