// Tool-EEPROM read and write over USB against the stand-in's simulated dongle: the cost of one exchange
// (frame, write, read, reply check) without the dongle's own transfer time.
#include "bench/benchrigs.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int ToolEepromLocations = 1024;

using Rig = benchsupport::UsbRig;

void BM_ToolEepromReadUsb(benchmark::State& state) {
    Rig rig;
    rig.link.dataTx.ClearReceiveBuffer();
    int address = 0;
    for (auto _ : state) {
        if (rig.link.state.DataCount >= ToolEepromLocations)
            rig.link.state.DataCount = 0;
        if (!rig.link.dataTx.ReadToolEeprom(address++ % ToolEepromLocations))
            state.SkipWithError("read failed");
    }
}

void BM_ToolEepromWriteUsb(benchmark::State& state) {
    Rig rig;
    int address = 0;
    for (auto _ : state) {
        if (!rig.link.dataTx.WriteToolEeprom(address % ToolEepromLocations, address & 0xFF))
            state.SkipWithError("write failed");
        ++address;
    }
}

// A read whose first reply comes late: one empty read, then the re-send.
void BM_ToolEepromReadUsbLateReply(benchmark::State& state) {
    Rig rig;
    int address = 0;
    for (auto _ : state) {
        rig.device.lateReply = 1;
        rig.link.state.DataCount = 0;
        if (!rig.link.dataTx.ReadToolEeprom(address++ % ToolEepromLocations))
            state.SkipWithError("read failed");
    }
}

} // namespace

BENCHMARK(BM_ToolEepromReadUsb)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToolEepromWriteUsb)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToolEepromReadUsbLateReply)->Unit(benchmark::kMicrosecond);
