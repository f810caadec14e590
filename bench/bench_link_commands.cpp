// Bulk transfers on each link against the stand-in: a whole Pset read (four packets), a 117-block logic
// image sent and received back, and 500 curve sample pairs. Wall time per transfer, and the process CPU
// time it used (waiting for the controller must not spin). The receive runs as the rung-table editors run
// it, one transaction per block; over Ethernet also against a controller that answers once per request and
// holds every answer (the "Held" families, which take a minute: leave them out with a filter).
#include "app/blockreceiver.h"
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "link/commandcodes.h"
#include "logicio/logictransfer.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using namespace benchsupport;
namespace ids = clink::ids;

constexpr int ImageBlocks = 117;
constexpr int BlockBytes = 6;
constexpr int CurvePairs = 500;

// The caller's link check before a transaction awaiting this reply.
template <class Rig> void linkCheck(Rig& rig, clink::CanId awaited) {
    switch (rig.link.state.ConnectionType) {
    case clink::ParallelPort:
        rig.link.dataTx.ConfigureCanDongle(awaited);
        break;
    case clink::TcpIp:
        rig.link.dataTx.ConfigureCanDongle(awaited);
        rig.link.ethernet.SendFilterFrame(awaited);
        break;
    default:
        rig.link.usb.SendFilterFrame(awaited);
        break;
    }
}

template <class Rig> void BM_PsetRead(benchmark::State& state) {
    Rig rig;
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        if (!rig.link.dataTx.ReadPsetBlock(1))
            state.SkipWithError("Pset read failed");
    reportCpu(state, cpu0);
}

template <class Rig> void BM_LogicImageSend(benchmark::State& state) {
    Rig rig;
    for (int i = 0; i < ImageBlocks * BlockBytes; ++i)
        rig.link.state.DataBuffer.put(i, (i * 37 + 11) & 0xFF);
    linkCheck(rig, ids::CommandReply);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        for (int n = 1; n <= ImageBlocks; ++n)
            if (!rig.link.dataTx.SendLogicIoProgram(n)) {
                state.SkipWithError("block not acknowledged");
                break;
            }
    reportCpu(state, cpu0);
}

// The image received block by block as the rung-table editors receive it, after their link check.
template <class Rig> void receiveImage(Rig& rig, benchmark::State& state) {
    linkCheck(rig, ids::CommandReply);
    app::BlockReceiver receiver(rig.link, logicio::rungTableReceiveCounts(rig.link.state.TransferDelay));
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        if (!receiver.receive(1, ImageBlocks)) {
            state.SkipWithError("block not received");
            break;
        }
    reportCpu(state, cpu0);
}

template <class Rig> void BM_LogicImageReceive(benchmark::State& state) {
    Rig rig;
    receiveImage(rig, state);
}

// Over Ethernet, a controller that answers once per request and holds every answer state.range(0) ms.
void BM_LogicImageReceiveHeld(benchmark::State& state) {
    EthernetRig rig;
    rig.dongle.replyDelay = int(state.range(0));
    receiveImage(rig, state);
}

template <class Rig> void BM_CurvePairs(benchmark::State& state) {
    Rig rig;
    std::vector<uint16_t>& curve = rig.model.curves[1];
    curve.resize(2 * CurvePairs);
    for (size_t i = 0; i < curve.size(); ++i)
        curve[i] = uint16_t(i * 131);
    linkCheck(rig, ids::CurveReply);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        for (int i = 0; i < 2 * CurvePairs; i += 2)
            if (!rig.link.dataTx.RequestCurveData(1, i)) {
                state.SkipWithError("curve pair not received");
                break;
            }
    reportCpu(state, cpu0);
}

// Ethernet pays the acknowledge-then-store rule (two requests per exchange) in real waits: few iterations.
constexpr int EthernetIterations = 1;
constexpr int LocalIterations = 5;

template <class Rig> int iterations() {
    return std::is_same_v<Rig, EthernetRig> ? EthernetIterations : LocalIterations;
}

template <class Rig> void registerFor() {
    const std::string link = Rig::Name;
    for (auto [name, fn] :
         {std::pair{"PsetRead/", &BM_PsetRead<Rig>}, std::pair{"LogicImageSend117/", &BM_LogicImageSend<Rig>},
          std::pair{"LogicImageReceive117/", &BM_LogicImageReceive<Rig>},
          std::pair{"CurvePairs500/", &BM_CurvePairs<Rig>}})
        benchmark::RegisterBenchmark((name + link).c_str(), fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(iterations<Rig>());
}

// Answer holds of the held receive: one beyond the sender's wait by half, one by five times.
constexpr int ShortHoldMs = 150;
constexpr int LongHoldMs = 400;

const bool registered = [] {
    registerFor<PpRig>();
    registerFor<UsbRig>();
    registerFor<EthernetRig>();
    benchmark::RegisterBenchmark("LogicImageReceive117Held/Ethernet", &BM_LogicImageReceiveHeld)
        ->Arg(ShortHoldMs)
        ->Arg(LongHoldMs)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(EthernetIterations);
    return true;
}();

} // namespace
