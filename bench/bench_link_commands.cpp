// Bulk transfers on each link against the stand-in: a whole Pset read (four packets), a 117-block logic
// image sent and received back, and 500 curve sample pairs. Wall time per transfer, and the process CPU
// time it used (waiting for the controller must not spin).
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "link/commandcodes.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using namespace benchsupport;
namespace ids = clink::ids;
namespace codes = clink::codes;

constexpr int ImageBlocks = 117;
constexpr int BlockBytes = 6;
constexpr int CurvePairs = 500;
// The logic editors' receive rhythm: requests per block, looks per request (parallel port).
constexpr int ReceiveRequests = 30;
constexpr int LooksPerRequest = 100;

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

// One answer block, requested and taken as the logic editors do on each link.
template <class Rig> bool receiveBlock(Rig& rig, int block) {
    clink::LinkState& s = rig.link.state;
    const clink::CanMessage request{ids::CommandRequest, {codes::LogicBlockRequest, block, 0, 0, 0, 0, 0, 0}};
    if (s.ConnectionType == clink::Usb)
        return rig.link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, block);
    if (s.ConnectionType == clink::TcpIp) {
        s.RequestData[2] = block;
        s.AckReceived = s.ReplyReady = false;
    }
    for (int i = 0; i < ReceiveRequests; ++i) {
        if (s.ConnectionType == clink::TcpIp) {
            rig.link.ethernet.SendCanFrame(ids::CommandReply, request.id, request.data);
            if (s.ReplyReady)
                return true;
            continue;
        }
        rig.link.dataTx.SendCanMessage(request);
        for (int look = 0; look < LooksPerRequest; ++look)
            if (rig.link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, block))
                return true;
    }
    return false;
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

template <class Rig> void BM_LogicImageReceive(benchmark::State& state) {
    Rig rig;
    linkCheck(rig, ids::CommandReply);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state) {
        rig.link.state.DataCount = 0;
        for (int n = 1; n <= ImageBlocks; ++n)
            if (!receiveBlock(rig, n)) {
                state.SkipWithError("block not received");
                break;
            }
    }
    reportCpu(state, cpu0);
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

const bool registered = [] {
    registerFor<PpRig>();
    registerFor<UsbRig>();
    registerFor<EthernetRig>();
    return true;
}();

} // namespace
