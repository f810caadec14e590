// The tool's button sensors for the button calibration: a button-test request makes the tool stream its
// four sensor words on 16EF0102 for a while. The stream is bounded so that a forgotten calibration does
// not flood the bus for ever; each new request starts it afresh.
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace {
constexpr CanId ButtonSensorFrames = 0x16EF0102;

} // namespace

std::vector<CanMessage> ControllerModel::buttonTestRequest(const CanMessage&) {
    buttonStreamLeft_ = ButtonStreamFrames;
    return {}; // the stream is the answer
}

std::optional<CanMessage> ControllerModel::nextButtonSensorFrame() {
    if (buttonStreamLeft_ <= 0)
        return std::nullopt;
    --buttonStreamLeft_;
    ++buttonFramesSent;
    const ButtonSensorWords& w = buttonSensors;
    return CanMessage{ButtonSensorFrames,
                      {highByte(w.cw), lowByte(w.cw), highByte(w.trigger), lowByte(w.trigger),
                       highByte(w.ccw), lowByte(w.ccw), highByte(w.center), lowByte(w.center)}};
}

} // namespace sim
