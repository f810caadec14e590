// Tool-EEPROM read and write over Ethernet against the in-process stand-in: wall time and the process
// CPU time per transaction (an idle wait must not spin).
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using Rig = benchsupport::EthernetRig;

using benchsupport::reportCpu;

void BM_ToolEepromReadEthernet(benchmark::State& state) {
    Rig rig;
    const std::clock_t cpu0 = std::clock();
    int address = 0;
    for (auto _ : state) {
        rig.link.dataTx.ClearReceiveBuffer();
        if (!rig.link.dataTx.ReadToolEeprom(address++ & 1023))
            state.SkipWithError("read failed");
    }
    reportCpu(state, cpu0);
}

void BM_ToolEepromWriteEthernet(benchmark::State& state) {
    Rig rig;
    const std::clock_t cpu0 = std::clock();
    int address = 0;
    for (auto _ : state) {
        if (!rig.link.dataTx.WriteToolEeprom(address & 1023, address & 0xFF))
            state.SkipWithError("write failed");
        ++address;
    }
    reportCpu(state, cpu0);
}

} // namespace

BENCHMARK(BM_ToolEepromReadEthernet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_ToolEepromWriteEthernet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
