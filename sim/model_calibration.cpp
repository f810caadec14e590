// The tool's button sensors for the button calibration: a button-test request makes the tool stream its
// four sensor words on 16EF0102. The stream is bounded so that a forgotten calibration does not flood the
// bus for ever: it ends when the tool is asked anything else, or after ButtonStreamTime; each new request
// starts it afresh, with the buttons released.
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr CanId ButtonSensorFrames = 0x16EF0102;
} // namespace

std::chrono::milliseconds ControllerModel::steadyClock() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::vector<CanMessage> ControllerModel::buttonTestRequest(const CanMessage&) {
    buttonStreamRunning_ = true;
    buttonStreamEnd_ = clock() + ButtonStreamTime;
    buttonReadings_ = 0;
    return {}; // the stream is the answer
}

void ControllerModel::countButtonReadingOn(const CanMessage& request, Transport transport) {
    if (transport == Transport::Ethernet && request.id == ButtonSensorFrames && isZeroData(request) &&
        buttonStreamRunning())
        ++buttonReadings_;
}

void ControllerModel::endButtonStreamOn(const CanMessage& request) {
    // A filter frame is no question to the tool; the button-test request restarts the stream itself.
    if (request.id == ids::ToolEepromRequest && request.data[0] != ButtonTestCode && !isZeroData(request))
        buttonStreamRunning_ = false;
}

std::optional<CanMessage> ControllerModel::nextButtonSensorFrame() {
    if (!buttonStreamRunning()) {
        buttonStreamRunning_ = false;
        return std::nullopt;
    }
    ++buttonFramesSent;
    // Every second reading is taken with the buttons held.
    const bool held = heldButtonSensors && buttonReadings_ > 0 && buttonReadings_ % 2 == 0;
    const ButtonSensorWords& w = held ? *heldButtonSensors : buttonSensors;
    return CanMessage{ButtonSensorFrames,
                      {highByte(w.cw), lowByte(w.cw), highByte(w.trigger), lowByte(w.trigger),
                       highByte(w.ccw), lowByte(w.ccw), highByte(w.center), lowByte(w.center)}};
}

} // namespace sim
