// Bulk transfers on each link against the stand-in: a whole Pset read (four packets), a 117-block logic
// image sent and received back, and 500 curve sample pairs. Wall time per transfer, and the process CPU
// time it used (waiting for the controller must not spin). The receive runs as the rung-table editors run
// it, one transaction per block; over Ethernet also against a controller that answers once per request and
// holds every answer (the "Held" families, which take a minute: leave them out with a filter): the logic
// image received and sent, the ladder image received, and a Pset chosen with the status read after it,
// each with the requests it sent.
#include "link/blockreceive.h"
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "logicio/logictransfer.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using namespace benchsupport;
namespace ids = clink::ids;
namespace codes = clink::codes;

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

// The requests the controller received with this identifier and code since the last call, per iteration.
class RequestCounter {
public:
    RequestCounter(const sim::ControllerModel& model, clink::CanId id, int code)
        : model_(model), id_(id), code_(code), before_(model.countReceived(id, code)) {}
    void report(benchmark::State& state) const {
        state.counters["requests"] = benchmark::Counter(model_.countReceived(id_, code_) - before_,
                                                        benchmark::Counter::kAvgIterations);
    }

private:
    const sim::ControllerModel& model_;
    clink::CanId id_;
    int code_;
    int before_;
};

template <class Rig> void sendImage(Rig& rig, benchmark::State& state) {
    for (int i = 0; i < ImageBlocks * BlockBytes; ++i)
        rig.link.state.DataBuffer.put(i, (i * 37 + 11) & 0xFF);
    linkCheck(rig, ids::CommandReply);
    const RequestCounter requests(rig.model, ids::CommandRequest, codes::LogicBlock);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        for (int n = 1; n <= ImageBlocks; ++n)
            if (!rig.link.dataTx.SendLogicIoProgram(n)) {
                state.SkipWithError("block not acknowledged");
                break;
            }
    reportCpu(state, cpu0);
    requests.report(state);
}

template <class Rig> void BM_LogicImageSend(benchmark::State& state) {
    Rig rig;
    sendImage(rig, state);
}

// Over Ethernet, a controller that answers once per request and holds every answer state.range(0) ms.
struct HeldRig : EthernetRig {
    explicit HeldRig(const benchmark::State& state) { dongle.replyDelay = int(state.range(0)); }
};

void BM_LogicImageSendHeld(benchmark::State& state) {
    HeldRig rig(state);
    sendImage(rig, state);
}

// The image received block by block as the rung-table editors receive it, after their link check.
template <class Rig>
void receiveImage(Rig& rig, benchmark::State& state, const clink::BlockReceiveCounts& counts, int first,
                  int last) {
    linkCheck(rig, ids::CommandReply);
    clink::BlockReceiver receiver(rig.link, counts);
    const RequestCounter requests(rig.model, ids::CommandRequest, codes::LogicBlockRequest);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        if (!receiver.receive(first, last)) {
            state.SkipWithError("block not received");
            break;
        }
    reportCpu(state, cpu0);
    requests.report(state);
}

template <class Rig> void receiveImage(Rig& rig, benchmark::State& state) {
    receiveImage(rig, state, logicio::rungTableReceiveCounts(rig.link.state.TransferDelay), 1, ImageBlocks);
}

template <class Rig> void BM_LogicImageReceive(benchmark::State& state) {
    Rig rig;
    receiveImage(rig, state);
}

void BM_LogicImageReceiveHeld(benchmark::State& state) {
    HeldRig rig(state);
    receiveImage(rig, state);
}

// The ladder editor's receive, blocks 0 to 109, from the same controller.
void BM_LadderImageReceiveHeld(benchmark::State& state) {
    HeldRig rig(state);
    receiveImage(rig, state, ladder::ladderReceiveCounts(), 0, ladder::LastReceiveBlock);
}

// A Pset chosen from the controller's list and the status read after it, as the Pset editor does, against
// that controller: every status read must show the Pset just chosen.
constexpr int ChosenPsets = 4;
void BM_PsetChoiceHeld(benchmark::State& state) {
    HeldRig rig(state);
    rig.model.psetCount = ChosenPsets;
    const RequestCounter requests(rig.model, ids::StatusRequest, 0);
    const std::clock_t cpu0 = std::clock();
    for (auto _ : state)
        for (int pset = 1; pset <= ChosenPsets; ++pset) {
            rig.link.dataTx.SelectPset(pset);
            if (!rig.link.dataTx.ReadSystemStatus() || rig.link.state.SystemStatus.CurrentPset != pset) {
                state.SkipWithError("status read does not show the Pset chosen");
                break;
            }
        }
    reportCpu(state, cpu0);
    requests.report(state);
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

// Answer holds of the held transfers: one just beyond the sender's wait, one beyond it by half, one by five
// times.
constexpr int SlowHoldMs = 130;
constexpr int ShortHoldMs = 150;
constexpr int LongHoldMs = 400;

const bool registered = [] {
    registerFor<PpRig>();
    registerFor<UsbRig>();
    registerFor<EthernetRig>();
    const auto held = [](const char* name, auto fn, std::initializer_list<int64_t> holds) {
        benchmark::RegisterBenchmark(name, fn)
            ->ArgsProduct({holds})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(EthernetIterations);
    };
    held("LogicImageReceive117Held/Ethernet", &BM_LogicImageReceiveHeld,
         {SlowHoldMs, ShortHoldMs, LongHoldMs});
    held("LogicImageSend117Held/Ethernet", &BM_LogicImageSendHeld, {SlowHoldMs});
    held("LadderImageReceive110Held/Ethernet", &BM_LadderImageReceiveHeld, {SlowHoldMs});
    // Short enough to run in the smoke test, where it checks every status read.
    held("PsetChoiceAndStatus/Ethernet", &BM_PsetChoiceHeld, {LongHoldMs});
    return true;
}();

} // namespace
