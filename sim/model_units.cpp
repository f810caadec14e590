// The controller's rundown logs (one per Pset, read in 140 blocks of five bytes), the NSM unit's version,
// clock and rundown clear, and the answers to the NSM and transducer presence probes.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int RundownLogBlockBytes = 5;
constexpr int RundownLogBlocks = ControllerModel::RundownLogBytes / RundownLogBlockBytes;
} // namespace

std::vector<CanMessage> ControllerModel::unitRequest(const CanMessage& m) {
    const auto& d = m.data;
    switch (m.id) {
    case ids::CommandRequest: {
        // [80 pset b] -> [EA pset b x0..x4]: bytes 5b..5b+4 of the Pset's log.
        const int pset = d[1];
        const int block = d[2];
        if (d[0] != codes::RundownLogBlock || block >= RundownLogBlocks || silentRundownBlocks.count(block))
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
