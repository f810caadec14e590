#pragma once
// What the service-transaction tests of every link share: the rundown the calibration reads, the boxes of
// the tool-data commands, and a filter over a front end's log of frames.

#include "link/canid.h"
#include "sim/controllermodel.h"

#include <QStringList>

#include <vector>

namespace servicetest {

// Target 120.0, limits 130.0 / 110.0, final angle and final torque both 04 E6, angle limits 90.0 / 10.0,
// result byte 0x2A, units Nm, Pset 3 of 8.
inline const sim::ControllerModel::RundownRecord CalibrationRundown = {
    0x04, 0xB0, 0x05, 0x14, 0x04, 0x4C, 0x04, 0xE6, 0x03, 0x84, 0x00, 0x64, 0x04, 0xE6, 0x2A, 5, 3, 8};

// The prompts and results of ReadToolRpm then RunToolDiagnostics with the stand-in's default tool data
// (reply bytes FA 00 14 05 C4 09).
inline const QStringList ToolDataBoxes = {
    "Hold Down Tool Trigger and hit OK While Running", "Tool RPM = 2500",
    "Make sure you run tool for at least 2 seconds",
    "Tool Offset Voltage = 2.5\r\nTransducer Max Tq Capability = 14.69"};

inline const clink::CanMessage& messageOf(const clink::CanMessage& m) {
    return m;
}
template <typename Frame> const clink::CanMessage& messageOf(const Frame& f) {
    return f.message;
}

// The entries of a front end's log whose CAN message has this identifier, in order.
template <typename Log> std::vector<typename Log::value_type> withId(const Log& log, clink::CanId id) {
    std::vector<typename Log::value_type> out;
    for (const auto& f : log)
        if (messageOf(f).id == id)
            out.push_back(f);
    return out;
}

} // namespace servicetest
