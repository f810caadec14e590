// The controller's answers on the command identifier (software version, control codes, Pset packets; the
// logic and ladder blocks in model_logic.cpp) and to the curve requests.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

#include <algorithm>

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int PacketBytes = clink::PsetPacketBytes;
constexpr int LogicImageBlocks = 117;
// Position of the Pset number in the last packet.
constexpr int PsetNumberByte = 7;

// A plausible Pset: torque control to 125.0 Nm (120.0..130.0), angle window 0..360, soft start.
ControllerModel::PsetBytes defaultPset(int number) {
    auto word = [](ControllerModel::PsetBytes& p, int at, int value) {
        p[size_t(at)] = lowByte(value);
        p[size_t(at + 1)] = highByte(value);
    };
    ControllerModel::PsetBytes p{};
    p[0] = 1; // strategy
    word(p, 1, 1250);
    word(p, 3, 1300);
    word(p, 5, 1200);
    p[7] = 0; // ergo
    word(p, 8, 100);
    word(p, 10, 1000);
    word(p, 12, 50);
    p[14] = 1;
    word(p, 15, 0);
    word(p, 17, 3600);
    word(p, 19, 0);
    p[21] = 1; // soft start
    word(p, 22, 20000);
    word(p, 24, 5000);
    p[26] = 5; // Nm
    p[27] = number;
    return p;
}
} // namespace

bool ControllerModel::playControllerType(int type) {
    // The software minor number each type reports with its major number.
    constexpr std::array<int, LastControllerType - FirstControllerType + 1> MinorVersions{5, 2, 10};
    if (type < FirstControllerType || type > LastControllerType)
        return false;
    // The ladder or logic store follows the major number (playsLadder).
    verMajor = type;
    verMinor = MinorVersions[size_t(type - FirstControllerType)];
    if (playsLadder())
        holdFactoryLadder();
    return true;
}

void ControllerModel::seedCommandDefaults() {
    for (int p = 0; p < PsetSlots; ++p)
        psets[size_t(p)] = defaultPset(p);
    for (int n = 1; n <= LogicImageBlocks; ++n)
        logicDefaults[n] = {n & 0xFF, (n * 3) & 0xFF, 0, 0, 1, 0};
    logicBlocks = logicDefaults;
    // Curves 1..3: a rising ramp ending at full scale (0xFFFF).
    constexpr int RampSamples = 39;
    constexpr int RampStep = 500;
    for (int c = 1; c <= 3; ++c) {
        std::vector<uint16_t>& curve = curves[c];
        for (int i = 0; i < RampSamples; ++i)
            curve.push_back(uint16_t(i * RampStep * c));
        curve.push_back(0xFFFF);
    }
}

std::vector<CanMessage> ControllerModel::commandRequest(const CanMessage& m) {
    const auto& d = m.data;
    if (silentCommandCodes.count(d[0]))
        return {};
    switch (d[0]) {
    case codes::Version:
        return {{ids::CommandReply, {codes::Acknowledge, codes::Version, verMajor, verMinor, 0, 0, 0, 0}}};
    case codes::ResetLogicDefaults:
        // The controller's logic, whichever form it holds, goes back to its defaults.
        ladderSlots = ladderDefaults;
        logicBlocks = logicDefaults;
        return {commandAcknowledgement(d[0])};
    case codes::RestartLogic:
        ++logicRestarts;
        return {commandAcknowledgement(d[0])};
    case codes::ErasePsets:
        psets = {};
        psetCount = 0;
        return {commandAcknowledgement(d[0])};
    case codes::PsetRead: {
        const int pset = d[1];
        const int packet = d[2];
        if (packet < 1 || packet > codes::PsetPackets)
            return {};
        CanMessage reply{ids::CommandReply, {packet}};
        if (pset >= 0 && pset < PsetSlots)
            for (int i = 0; i < PacketBytes; ++i)
                reply.data[size_t(1 + i)] = psets[size_t(pset)][size_t((packet - 1) * PacketBytes + i)];
        return {reply};
    }
    case codes::LogicBlock:
    case codes::LogicBlockRequest:
        return playsLadder() ? ladderRequest(m) : logicRequest(m);
    case codes::Status:
        return rundownResultRequest(m);
    default:
        if (d[0] >= codes::PsetPacket1 && d[0] < codes::PsetPacket1 + codes::PsetPackets)
            return psetPacket(m);
        return {};
    }
}

// Packets 1..3 are staged; packet 4 names the Pset and stores all four.
std::vector<CanMessage> ControllerModel::psetPacket(const CanMessage& m) {
    const auto& d = m.data;
    const int packet = d[0] - codes::PsetPacket1 + 1;
    for (int i = 0; i < PacketBytes; ++i)
        stagedPset_[size_t((packet - 1) * PacketBytes + i)] = d[size_t(1 + i)];
    if (packet == codes::PsetPackets) {
        const int pset = d[PsetNumberByte];
        if (pset >= 0 && pset < PsetSlots) {
            psets[size_t(pset)] = stagedPset_;
            psetCount = std::max(psetCount, pset);
        }
    }
    return {commandAcknowledgement(d[0], d[1], d[2])};
}

std::vector<CanMessage> ControllerModel::curveRequest(const CanMessage& m, CanId replyId) const {
    const auto& d = m.data;
    if (d[0] != codes::CurveRequest)
        return {};
    const int index = d[2] + 256 * d[3];
    auto sample = [&](int i) -> int {
        const auto it = curves.find(d[1]);
        return it != curves.end() && i < int(it->second.size()) ? it->second[size_t(i)] : 0;
    };
    const int s1 = sample(index);
    const int s2 = sample(index + 1);
    return {{replyId, {codes::CurveReply, d[1], d[2], d[3], s1 & 0xFF, s1 >> 8, s2 & 0xFF, s2 >> 8}}};
}

} // namespace sim
