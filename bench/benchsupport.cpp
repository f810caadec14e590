#include "bench/benchsupport.h"

namespace benchsupport {

void reportCpu(benchmark::State& state, std::clock_t cpu0) {
    const double cpuSeconds = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
    state.counters["cpu_ms_per_tx"] =
        benchmark::Counter(cpuSeconds * 1000.0 / double(state.iterations()), benchmark::Counter::kDefaults);
}

} // namespace benchsupport
