// The tool's button sensors for the button calibration: a button-test request makes the tool stream its
// four sensor words on 16EF0102 for a while. The stream is bounded so that a forgotten calibration does
// not flood the bus for ever; each new request starts it afresh.
#include "sim/controllermodel.h"

namespace sim {

namespace {
constexpr CanId ButtonSensorFrames = 0x16EF0102;

int high(int word) {
    return (word >> 8) & 0xFF;
}
int low(int word) {
    return word & 0xFF;
}
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
                      {high(w.cw), low(w.cw), high(w.trigger), low(w.trigger), high(w.ccw), low(w.ccw),
                       high(w.center), low(w.center)}};
}

} // namespace sim
