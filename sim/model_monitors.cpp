// What the live monitors hear from the controller: the tool's fault and rundown reports on its own
// identifier, and the answer to the button-state request. LED commands get no answer (they are recorded
// in received like every request).
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr int ButtonStateCode = 0x30;
constexpr int RundownReportCode = 0x40;
constexpr int ByteMask = 0xFF;

// A signed word as the controller sends it: low byte first.
void putWord(CanMessage& m, size_t at, int word) {
    m.data[at] = lowByte(word);
    m.data[at + 1] = highByte(word);
}
} // namespace

CanMessage ControllerModel::faultMessage(int group, int flags2, int flags3) {
    return {ids::ToolReply, {group & ByteMask, 0, flags2 & ByteMask, flags3 & ByteMask, 0, 0, 0, 0}};
}

CanMessage ControllerModel::rundownMessage(int cycleStatus, int torque, int angle, int externalTorque) {
    CanMessage m{ids::ToolReply, {RundownReportCode, cycleStatus & ByteMask, 0, 0, 0, 0, 0, 0}};
    putWord(m, 2, torque);
    putWord(m, 4, angle);
    putWord(m, 6, externalTorque);
    return m;
}

std::vector<CanMessage> ControllerModel::monitorRequest(const CanMessage& m) const {
    if (m.id != ids::ToolEepromRequest || m.data[0] != ButtonStateCode)
        return {};
    return {{ids::ButtonReply, {0, buttons.cw, buttons.trigger, buttons.ccw, buttons.center, 0, 0, 0}}};
}

} // namespace sim
