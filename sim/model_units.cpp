// The controller's rundown logs (one per Pset, read in 140 blocks of five bytes), the NSM unit's version,
// clock and rundown clear, and the answers to the NSM and transducer presence probes.
#include "sim/controllermodel.h"

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr int RundownLogRequestCode = 0x80;
constexpr int RundownLogReplyCode = 0xEA;
constexpr int RundownLogBlockBytes = 5;
constexpr int RundownLogBlocks = ControllerModel::RundownLogBytes / RundownLogBlockBytes;
constexpr int NsmVersionCode = 0xAA;
constexpr int NsmClockCode = 0xDD;
constexpr int NsmClearCode = 0xBB;
constexpr int TransducerPresentCode = 0x01;
} // namespace

std::vector<CanMessage> ControllerModel::unitRequest(const CanMessage& m) {
    const auto& d = m.data;
    switch (m.id) {
    case ids::CommandRequest: {
        // [80 pset b] -> [EA pset b x0..x4]: bytes 5b..5b+4 of the Pset's log.
        const int pset = d[1];
        const int block = d[2];
        if (d[0] != RundownLogRequestCode || block >= RundownLogBlocks || silentRundownBlocks.count(block))
            return {};
        CanMessage reply{ids::CommandReply, {RundownLogReplyCode, pset, block, 0, 0, 0, 0, 0}};
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
        case NsmVersionCode:
            return {{ids::NsmReply, {NsmVersionCode, nsmUnit.major, nsmUnit.minor, 0, 0, 0, 0, 0}}};
        case NsmClockCode:
            return {{ids::NsmReply, {NsmClockCode, c[0], c[1], c[2], c[3], c[4], 0, 0}}};
        case NsmClearCode:
            ++nsmUnit.rundownClears;
            return {{ids::NsmReply2, {NsmClearCode, 0, 0, 0, 0, 0, 0, 0}}};
        default:
            return {};
        }
    }
    case ids::NsmReply: {
        // A frame on the NSM's own reply identifier is the presence probe: the unit answers with its clock.
        const auto& c = nsmUnit.clock;
        return {{ids::NsmReply, {NsmClockCode, c[0], c[1], c[2], c[3], c[4], 0, 0}}};
    }
    case ids::TransducerReply2:
        // The transducer's presence probe.
        return {{ids::TransducerReply2, {TransducerPresentCode, 0, 0, 0, 0, 0, 0, 0}}};
    default:
        return {};
    }
}

} // namespace sim
