#include "service/buttoncalibration.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "base/numbertext.h"
#include "link/buttonsensors.h"
#include "link/controllerlink.h"
#include "service/userwait.h"

#include <algorithm>

namespace service {

using clink::ButtonSensors;

namespace {
constexpr int ByteBits = 8;
constexpr int ByteMask = 0xFF;
constexpr int LargestWord = 0xFFFF;
constexpr int BandDivisor = 100;
// The second Run Test index the window's button array has.
constexpr int SpareRunTestButton = 5;

struct Step {
    const char* prompt;
    const char* label; // of the step's summary lines
    int offset;        // of the sensor word in each frame
};
// Odd steps: the button released (the maximum is kept); even steps: pressed (the minimum).
const std::array<Step, ButtonCalibration::Steps + 1> StepTable = {{
    {nullptr, nullptr, 0},
    {"Set Light Ring In Center Position Then Press Run Test Button", "CW (OFF):", 0},
    {"Set Light Ring In CW Position Then Press Run Test Button", "CW (ON):", 0},
    {"Release Trigger Then Press Run Test Button", "TRIG (OFF):", 2},
    {"Hold Trigger Down Then Press Run Test Button", "TRIG (ON):", 2},
    {"Set Light Ring In CW Position Then Press Run Test Button", "CCW (OFF):", 4},
    {"Set Light Ring In CCW Position Then Press Run Test Button", "CCW (ON):", 4},
    {"Set Light Ring In CCW Position Then Press Run Test Button", "CENTER (OFF):", 6},
    {"Set Light Ring In Center Position Then Press Run Test Button", "CENTER (ON):", 6},
}};

struct ButtonPlan {
    int releasedStep; // the pressed step follows it
    int firstLocation;
    const char* heading;
    const char* dongleFailed;
};
const char* const CanDongleFailed = "Unable To Configure Can Dongle";
const std::array<ButtonPlan, ButtonCalibration::LastButton + 1> Buttons = {{
    {0, 0, nullptr, nullptr},
    {3, 11, "New Values For Trigger -> Upper: ", CanDongleFailed},
    {1, 7, "New Values For CW -> Upper: ", "Unable To Configure Candongle"},
    {7, 19, "New Values For CENTER -> Upper: ", CanDongleFailed},
    {5, 15, "New Values For CCW - > Upper: ", CanDongleFailed},
}};

const QString Lower = QStringLiteral(" Lower: ");
const QString MidPoint = QStringLiteral("Mid Point: ");
const QString Confirm = QStringLiteral("New Button Values Calculated - Write To Tool ?");
const QString ConfirmCaption = QStringLiteral("Write Button Values");
const QString Writing = QStringLiteral("Writing Data To Tool Eeprom...");
const QString NotWritten = QStringLiteral("Data Not Written To Eeprom");
const QString NotWrittenCaption = QStringLiteral("Data Transfer Error");
const QString Written = QStringLiteral("Transfer Completed Successfully!");
const QString TakingReadings = QStringLiteral("Running Test - Taking 100 Readings .....");
const QString NoValues = QStringLiteral("Unable To Receive Values");

int sensorWord(const clink::DataBufferArray& buffer, int at) {
    return ((buffer[at] & ByteMask) << ByteBits) | (buffer[at + 1] & ByteMask);
}
} // namespace

std::array<int, 4> ButtonThresholds::bytes() const {
    return {upper >> ByteBits, upper & ByteMask, lower >> ByteBits, lower & ByteMask};
}

ButtonThresholds buttonThresholds(int releasedMaximum, int pressedMinimum) {
    ButtonThresholds t;
    t.mid = int(base::roundHalfEven((double(releasedMaximum) + pressedMinimum) / 2));
    t.band = t.mid / BandDivisor;
    // Both thresholds are words of the tool EEPROM.
    t.upper = std::min(t.mid + t.band, LargestWord);
    t.lower = t.mid - t.band;
    return t;
}

double ButtonReadings::average() const {
    return double(total) / ButtonSensors::Readings;
}

ButtonReadings buttonReadings(const clink::DataBufferArray& buffer, int offset) {
    ButtonReadings r;
    for (int k = 0; k < ButtonSensors::Readings; ++k) {
        const int reading = sensorWord(buffer, ButtonSensors::FrameBytes * k + offset);
        r.total += reading;
        // Both limits start at the first reading.
        r.maximum = k == 0 ? reading : std::max(r.maximum, reading);
        r.minimum = k == 0 ? reading : std::min(r.minimum, reading);
    }
    return r;
}

ButtonCalibration::ButtonCalibration(clink::ControllerLink& link, base::BusyState& busy)
    : link_(link), busy_(busy) {}

ButtonCalibration::ButtonCalibration(app::AppServices& services)
    : ButtonCalibration(services.link, services.busy) {}

void ButtonCalibration::BtnCal_Click(int index) {
    if (index == RunTestButton || index == SpareRunTestButton) {
        RunTestPressed = true;
        link_.pump.wake();
        return;
    }
    if (index < FirstButton || index > LastButton || running_)
        return;
    running_ = true;
    cancelled_ = false;
    emit buttonsChanged();
    calibrate(index);
    setRunTestEnabled(false);
    running_ = false;
    emit buttonsChanged();
    emit finished();
}

void ButtonCalibration::cancel() {
    cancelled_ = true;
    // Only the readings hold the program busy with this window usable: an exchange under way is theirs.
    if (running_)
        link_.transactions.cancel();
    link_.pump.wake();
}

void ButtonCalibration::calibrate(int button) {
    const ButtonPlan& plan = Buttons[size_t(button)];
    {
        base::BusyGuard guard(busy_);
        if (!guard.acquired())
            return;
        ButtonSensors(link_).sendTestRequest(*progress_);
    }
    lines_.clear();
    emit linesChanged();
    const int released = plan.releasedStep;
    const int pressed = released + 1;
    if (!Show_ButtonStep(released) || !Show_ButtonStep(pressed))
        return;

    const ButtonThresholds t = buttonThresholds(limits_[size_t(released)], limits_[size_t(pressed)]);
    addLine(MidPoint + QString::number(t.mid));
    addLine(QString::fromLatin1(plan.heading) + QString::number(t.upper) + Lower + QString::number(t.lower));
    if (cancelled_ || !link_.dialogs.askOkCancel(Confirm, ConfirmCaption))
        return;
    addLine(Writing);
    if (writeThresholds(button, t.bytes()))
        addLine(Written);
}

bool ButtonCalibration::writeThresholds(int button, const std::array<int, 4>& bytes) {
    const ButtonPlan& plan = Buttons[size_t(button)];
    base::BusyGuard guard(busy_);
    if (!guard.acquired())
        return false;
    if (!app::LinkGate(link_).preCheck(clink::ids::ToolEepromReply,
                                       app::toolEepromCheck(QString::fromLatin1(plan.dongleFailed))))
        return false;
    for (int i = 0; i < int(bytes.size()); ++i) {
        if (!link_.dataTx.WriteToolEeprom(plan.firstLocation + i, bytes[size_t(i)])) {
            link_.dialogs.message(NotWritten, NotWrittenCaption, base::MessageIcon::Critical);
            return false;
        }
    }
    return true;
}

bool ButtonCalibration::Show_ButtonStep(int step) {
    const Step& s = StepTable[size_t(step)];
    addLine(QString::fromLatin1(s.prompt));
    RunTestPressed = false;
    setRunTestEnabled(true);
    waitForUser(link_.pump, [this] { return RunTestPressed || cancelled_; });
    setRunTestEnabled(false);
    if (cancelled_ || !RunTestPressed)
        return false;

    addLine(TakingReadings);
    ButtonSensors::Result result;
    {
        base::BusyGuard guard(busy_, window_);
        if (!guard.acquired())
            return false;
        result = ButtonSensors(link_).takeReadings(*progress_);
    }
    if (cancelled_)
        return false;
    if (result.outcome == ButtonSensors::Outcome::LinkFailed)
        app::LinkGate(link_).passed({.ok = false, .failText = result.failText});
    if (result.outcome != ButtonSensors::Outcome::Taken) {
        link_.dialogs.message(NoValues, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    const ButtonReadings r = buttonReadings(link_.state.DataBuffer, s.offset);
    limits_[size_t(step)] = step % 2 == 1 ? r.maximum : r.minimum;
    const QString label = QString::fromLatin1(s.label) + u' ';
    addLine(label + QStringLiteral("Max Reading: ") + QString::number(r.maximum));
    addLine(label + QStringLiteral("Min Reading: ") + QString::number(r.minimum));
    addLine(label + QStringLiteral("Avg Reading: ") + base::numberText(r.average()));
    return true;
}

void ButtonCalibration::addLine(const QString& line) {
    lines_.append(line);
    emit linesChanged();
}

void ButtonCalibration::setRunTestEnabled(bool enabled) {
    if (runTestEnabled_ == enabled)
        return;
    runTestEnabled_ = enabled;
    emit buttonsChanged();
}

} // namespace service
