// Ethernet against the in-process stand-in: tool-EEPROM writes (wall time and the process CPU time per
// transaction: an idle wait must not spin; the reads in both answer modes are in bench_link_modes), the
// parser on a flood of frame heads, and the stand-in's memory over a million requests.
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "link/ethernet.h"

#include <QCoreApplication>
#include <QTcpSocket>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using Rig = benchsupport::EthernetRig;

using benchsupport::reportCpu;

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

// A mebibyte of frame heads, then the tail of one status frame, in one arrival.
void BM_ParseFrameHeads1MiB(benchmark::State& state) {
    benchsupport::LinkRig rig;
    QByteArray flood;
    while (flood.size() < 1024 * 1024)
        flood += "%CAN";
    flood += ",175,120,24,8,16,7,3,5,0,0,0,0,NAC%\r\n";
    for (auto _ : state) {
        rig.link.ethernet.onDataArrival(flood);
        if (rig.link.state.SystemStatus.PsetCount != 7)
            state.SkipWithError("the frame after the heads was not parsed");
        rig.link.state.SystemStatus.PsetCount = 0;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * flood.size());
}

// A million tool-EEPROM reads sent to the stand-in's dongle in batches; the resident memory after the
// first hundred thousand and at the end must be the same.
void BM_StandInMemoryOverAMillionRequests(benchmark::State& state) {
    constexpr int Requests = 1000000;
    constexpr int Batch = 1000;
    constexpr int Sample = 100000;
    for (auto _ : state) {
        sim::ControllerModel model;
        sim::TcpDongle dongle(model);
        dongle.listen(0);
        QTcpSocket client;
        client.connectToHost(QStringLiteral("127.0.0.1"), dongle.port());
        client.waitForConnected();
        QByteArray batch;
        for (int i = 0; i < Batch; ++i)
            batch += clink::canFrameText(clink::frameFields(clink::ids::ToolEepromReply,
                                                            clink::ids::ToolEepromRequest,
                                                            {0x90, 0, i & 0xFF, 0, 0, 0, 0, 0}));
        double afterSample = 0;
        for (int sent = 0; sent < Requests; sent += Batch) {
            client.write(batch);
            client.flush();
            const int target = dongle.repliesSent() + Batch;
            while (dongle.repliesSent() < target) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                client.readAll();
            }
            if (sent + Batch == Sample)
                afterSample = benchsupport::residentMb();
        }
        state.counters["rss_mb_after_100k"] = afterSample;
        state.counters["rss_mb_after_1M"] = benchsupport::residentMb();
        state.counters["frames_logged"] = double(dongle.frames.size());
    }
}

} // namespace

BENCHMARK(BM_ToolEepromWriteEthernet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_ParseFrameHeads1MiB)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StandInMemoryOverAMillionRequests)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
