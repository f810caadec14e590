// The controller's rundown logs (one per Pset, read in 140 blocks of five bytes), the NSM unit's version,
// clock (read and set) and rundown clear, and the answers to the NSM and transducer presence probes.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int RundownLogBlockBytes = 5;
constexpr int RundownLogBlocks = ControllerModel::RundownLogBytes / RundownLogBlockBytes;

// Default logs: rundowns near 100 % of the target (torques in tenths of a percent), one of them high.
constexpr int DefaultPsets = 8;
constexpr int DefaultRundowns = 12;
constexpr int RecordBytes = 7;
constexpr int FullTarget = 1000;
constexpr int Accept = 1;
constexpr int TorqueHigh = 2;
constexpr int HighRundown = 4;
constexpr int BaseAngle = 40;
} // namespace

std::map<int, ControllerModel::RundownLog> ControllerModel::defaultRundownLogs() {
    std::map<int, RundownLog> logs;
    for (int pset = 1; pset <= DefaultPsets; ++pset) {
        RundownLog& log = logs[pset];
        for (int r = 0; r < DefaultRundowns; ++r) {
            const int torque =
                FullTarget - DefaultRundowns / 2 + r + (r == HighRundown ? FullTarget / 10 : 0);
            const int angle = BaseAngle + pset + r;
            const size_t b = size_t(RecordBytes * r);
            log[b] = uint8_t(r == HighRundown ? TorqueHigh : Accept);
            log[b + 1] = uint8_t(torque >> 8);
            log[b + 2] = uint8_t(torque & 0xFF);
            log[b + 3] = uint8_t(angle >> 8);
            log[b + 4] = uint8_t(angle & 0xFF);
            log[b + 5] = uint8_t(torque & 0xFF);
            log[b + 6] = uint8_t(torque >> 8);
        }
    }
    return logs;
}

std::vector<CanMessage> ControllerModel::unitRequest(const CanMessage& m) {
    const auto& d = m.data;
    switch (m.id) {
    case ids::CommandRequest: {
        // [80 pset b] -> [EA pset b x0..x4]: bytes 5b..5b+4 of the Pset's log.
        const int pset = d[1];
        const int block = d[2];
        if (d[0] != codes::RundownLogBlock || block >= RundownLogBlocks || silentRundownBlocks.count(block) ||
            silentRundownPsets.count(pset))
            return {};
        CanMessage reply{ids::CommandReply, {codes::RundownLogAnswer, pset, block, 0, 0, 0, 0, 0}};
        if (const auto it = rundownLogs.find(pset); it != rundownLogs.end())
            for (int k = 0; k < RundownLogBlockBytes; ++k)
                reply.data[size_t(3 + k)] = it->second[size_t(RundownLogBlockBytes * block + k)];
        if (wrongRundownEcho) {
            wrongRundownEcho = false;
            reply.data[2] = (block + 1) & 0xFF;
        }
        return {reply};
    }
    case ids::NsmRequest: {
        const auto& c = nsmUnit.clock;
        switch (d[0]) {
        case codes::NsmVersion:
            return {{ids::NsmReply, {codes::NsmVersion, nsmUnit.major, nsmUnit.minor, 0, 0, 0, 0, 0}}};
        case codes::NsmClock:
            return {{ids::NsmReply, {codes::NsmClock, c[0], c[1], c[2], c[3], c[4], 0, 0}}};
        case codes::NsmClockSet:
            // [DE month day year minute hour]: the clock takes the time (and keeps it: it never ticks) and
            // answers with it in the read's layout.
            nsmUnit.clock = {d[5], d[4], d[1], d[2], d[3]};
            return {{ids::NsmReply, {codes::NsmClockSet, d[5], d[4], d[1], d[2], d[3], 0, 0}}};
        case codes::NsmClearRundowns:
            ++nsmUnit.rundownClears;
            return {{ids::NsmReply2, {codes::NsmClearRundowns, 0, 0, 0, 0, 0, 0, 0}}};
        default:
            return {};
        }
    }
    case ids::NsmReply: {
        // A frame on the NSM's own reply identifier is the presence probe: the unit answers with its clock.
        const auto& c = nsmUnit.clock;
        return {{ids::NsmReply, {codes::NsmClock, c[0], c[1], c[2], c[3], c[4], 0, 0}}};
    }
    case ids::TransducerReply2:
        // The transducer's presence probe.
        return {{ids::TransducerReply2, {codes::TransducerPresent, 0, 0, 0, 0, 0, 0, 0}}};
    default:
        return {};
    }
}

} // namespace sim
