// The controller's two ways of answering side by side, over Ethernet against the in-process stand-in: one
// answer per request (arg 0) and an acknowledgement before each reply (arg 1). The exchanges of the settings
// collection in its order: the Psets, the logic program's blocks, the DSP parameter block, the tool EEPROM.
#include "app/blockreceiver.h"
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "link/commandcodes.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using Rig = benchsupport::EthernetRig;

constexpr int Psets = 8;
constexpr int LogicBlocks = 117;
constexpr int DspBlockBytes = 128;
constexpr int ToolEepromBytes = 1024;

// Counts of the rung-table editors' Ethernet receive.
constexpr app::BlockReceiveCounts RungTableCounts{.ethernetLead = app::EthernetBlockLead::Request,
                                                  .ethernetSettle = 100,
                                                  .ethernetAttempts = 501,
                                                  .ethernetWait = 3001};

void setMode(Rig& rig, benchmark::State& state) {
    rig.dongle.answerOnce = state.range(0) == 0;
    state.SetLabel(state.range(0) == 0 ? "answer once per request" : "acknowledgement then reply");
}

void BM_CollectionExchangesEthernet(benchmark::State& state) {
    Rig rig;
    setMode(rig, state);
    clink::DataTx& tx = rig.link.dataTx;
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state) {
        bool ok = true;
        for (int p = 1; ok && p <= Psets; ++p)
            ok = tx.ReadPsetBlock(p);
        app::BlockReceiver receiver(rig.link, RungTableCounts);
        ok = ok && receiver.receive(1, LogicBlocks);
        tx.ClearReceiveBuffer();
        for (int a = 0; ok && a < DspBlockBytes; a += 2)
            ok = tx.ReadDspEeprom(a);
        for (int a = 0; ok && a < ToolEepromBytes; ++a)
            ok = tx.ReadToolEeprom(a);
        if (!ok)
            state.SkipWithError("an exchange failed");
    }
    benchsupport::reportCpu(state, cpu0);
}

void BM_LogicReceiveThenDspReadEthernet(benchmark::State& state) {
    Rig rig;
    setMode(rig, state);
    for (auto _ : state) {
        app::BlockReceiver receiver(rig.link, RungTableCounts);
        rig.link.dataTx.ClearReceiveBuffer();
        if (!receiver.receive(1, LogicBlocks) || !rig.link.dataTx.ReadDspEeprom(0))
            state.SkipWithError("an exchange failed");
    }
}

} // namespace

BENCHMARK(BM_CollectionExchangesEthernet)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_LogicReceiveThenDspReadEthernet)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
