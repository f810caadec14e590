// Tool-EEPROM read and write on the parallel-port link against the simulated CAN-controller chip: wall
// time, process CPU time and printer-port operations per transaction.
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

// Set up for the tool-EEPROM reply, its counters cleared.
struct Rig : benchsupport::PpRig {
    Rig() {
        link.dataTx.ConfigureCanDongle(clink::ids::ToolEepromReply);
        chip.clearCounters();
    }
};

void report(benchmark::State& state, const Rig& rig, std::clock_t cpu0) {
    benchsupport::reportCpu(state, cpu0);
    const double n = double(state.iterations());
    state.counters["port_writes_per_tx"] = double(rig.chip.portWrites) / n;
    state.counters["port_reads_per_tx"] = double(rig.chip.portReads) / n;
}

void BM_ToolEepromReadParallelPort(benchmark::State& state) {
    Rig rig;
    const std::clock_t cpu0 = std::clock();
    int address = 0;
    for (auto _ : state) {
        rig.link.state.DataCount = 0;
        if (!rig.link.dataTx.ReadToolEeprom(address++ & 1023))
            state.SkipWithError("read failed");
    }
    report(state, rig, cpu0);
}

void BM_ToolEepromWriteParallelPort(benchmark::State& state) {
    Rig rig;
    const std::clock_t cpu0 = std::clock();
    int address = 0;
    for (auto _ : state) {
        if (!rig.link.dataTx.WriteToolEeprom(address & 1023, address & 0xFF))
            state.SkipWithError("write failed");
        ++address;
    }
    report(state, rig, cpu0);
}

} // namespace

BENCHMARK(BM_ToolEepromReadParallelPort)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(500);
BENCHMARK(BM_ToolEepromWriteParallelPort)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(500);
