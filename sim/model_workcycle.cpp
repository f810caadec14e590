// A tool at work: the rundowns and faults the controller reports on its own, in a fixed round so that the
// run screen and the monitors show every kind of result in turn.
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace {
// One rundown of the round: final torque as thousandths above or below the target, final angle in degrees.
struct Outcome {
    int torquePermille;
    int angle;
};
constexpr std::array<Outcome, 8> Round{{
    {0, 45},    // accepted
    {25, 52},   // accepted
    {150, 60},  // torque high
    {-40, 38},  // accepted
    {-160, 30}, // torque low
    {5, 95},    // angle high
    {-5, 8},    // angle low
    {120, 120}, // torque and angle high
}};

// The result codes of a rundown.
constexpr int Accepted = 1;
constexpr int TorqueHigh = 2;
constexpr int TorqueLow = 4;
constexpr int AngleHigh = 8;
constexpr int AngleLow = 16;
constexpr int Permille = 1000;
// Angle limits are in tenths of a degree, the final angle in whole degrees.
constexpr int TenthsPerDegree = 10;

// One fault of the round: its group and the flags of data bytes 2 and 3.
struct Fault {
    int group;
    int flags2;
    int flags3;
};
constexpr std::array<Fault, 4> Faults{{
    {0x10, 0x01, 0}, // auto-reset: tool id timeout
    {0x11, 0x02, 0}, // cycle-reset: load run timeout
    {0x12, 0x01, 0}, // external-reset: Pset value
    {0x15, 0x08, 0}, // warning: transducer off tool
}};

void putWordHighFirst(ControllerModel::RundownRecord& record, size_t at, int word) {
    record[at] = uint8_t(highByte(word));
    record[at + 1] = uint8_t(lowByte(word));
}
} // namespace

std::vector<CanMessage> ControllerModel::nextRundown() {
    const Outcome& outcome = Round[size_t(rundownsPlayed % int(Round.size()))];
    ++rundownsPlayed;
    const int band = target * TorqueBandPermille / Permille;
    const int high = target + band;
    const int low = target - band;
    const int torque = target + target * outcome.torquePermille / Permille;
    const int angleTenths = outcome.angle * TenthsPerDegree;
    int result = 0;
    if (torque > high)
        result += TorqueHigh;
    if (torque < low)
        result += TorqueLow;
    if (angleTenths > AngleHighLimit)
        result += AngleHigh;
    if (angleTenths < AngleLowLimit)
        result += AngleLow;
    if (result == 0)
        result = Accepted;

    RundownRecord record{};
    putWordHighFirst(record, 0, target);
    putWordHighFirst(record, 2, high);
    putWordHighFirst(record, 4, low);
    putWordHighFirst(record, 6, outcome.angle);
    putWordHighFirst(record, 8, AngleHighLimit);
    putWordHighFirst(record, 10, AngleLowLimit);
    putWordHighFirst(record, 12, torque);
    record[14] = uint8_t(result);
    record[15] = uint8_t(units);
    record[16] = uint8_t(currentPset);
    record[17] = uint8_t(psetCount);

    std::vector<CanMessage> frames = rundownEvent(record);
    const int relative = target > 0 ? (torque * Permille + target / 2) / target : 0;
    frames.push_back(rundownMessage(result, relative, outcome.angle, relative));
    return frames;
}

CanMessage ControllerModel::nextFault() {
    const Fault& fault = Faults[size_t(faultsPlayed % int(Faults.size()))];
    ++faultsPlayed;
    return faultMessage(fault.group, fault.flags2, fault.flags3);
}

} // namespace sim
