#include "service/manualcalibration.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "base/numbertext.h"
#include "base/torque.h"
#include "link/controllerlink.h"
#include "service/userwait.h"

#include <algorithm>
#include <cmath>

namespace service {

namespace {
// The value entered is in tenths of the rundown's torque units.
constexpr double TenthsPerUnit = 10;
// The rundown result's value that holds its units code.
constexpr int UnitsValue = 8;
// While another command talks to the controller the wait for the rundown looks again after this many
// DoEvents.
constexpr long BusyRetryPause = 1000;

const QString Heading = QStringLiteral("-------- Brenstal Manual Calibration --------");
const QString Step1 = QStringLiteral("Step 1: Checking Tool For Multiplier");
const QString MultiplierFound = QStringLiteral("Tool Multiplier Found");
const QString RunToFinal = QStringLiteral("Step 2: Please Run Controller To Final Tq");
const QString FinalReached = QStringLiteral("Controller Final Tq Reached");
const QString EnterTorque = QStringLiteral("Step 2: Please Enter New Torque And Press Enter");
const QString NotZero = QStringLiteral("Value Must Be Greater Than 0");
const QString Step4 = QStringLiteral("Step 4: Calculating New Value.....");
const QString NewValue = QStringLiteral("New Value: ");
const QString Step5 = QStringLiteral("Step 5: Sending New Value.....");
const QString Completed = QStringLiteral("MANUAL CALIBRATION - COMPLETED");
const QString Failed = QStringLiteral("MANUAL CALIBRATION - FAILED");
} // namespace

double ManualCalibration::ConvertTorque(double value, int fromUnits, int toUnits) {
    const auto known = [](int units) { return units >= base::LbIn && units <= base::Nm; };
    if (fromUnits == toUnits || !known(fromUnits) || !known(toUnits))
        return value;
    return base::ConvertTorque(value, fromUnits, toUnits);
}

ManualCalibration::ManualCalibration(clink::ControllerLink& link, base::BusyState& busy)
    : link_(link), busy_(busy) {}

ManualCalibration::ManualCalibration(app::AppServices& services)
    : ManualCalibration(services.link, services.busy) {}

void ManualCalibration::mnuManualCalibration_Click() {
    if (running_ || !menuEnabled_)
        return;
    menuEnabled_ = false;
    frameCaption_ = EntryCaption;
    // A cancel of an earlier run must not end this one.
    CancelRequested = false;
    running_ = true;
    emit stateChanged();
    Run_ManualCalibration();
    awaiting_ = false;
    running_ = false;
    emit stateChanged();
    emit finished();
}

void ManualCalibration::btnManualCal_Click(double value) {
    if (!awaiting_)
        return;
    NewTorqueValue = std::clamp(value, 0.0, LargestEntry) * TenthsPerUnit;
    awaiting_ = false;
    emit stateChanged();
    link_.pump.wake();
}

bool ManualCalibration::mnuExit_Click() {
    if (menuEnabled_)
        return true;
    menuEnabled_ = true;
    clearLines();
    emit stateChanged();
    requestCancel();
    return false;
}

void ManualCalibration::cancel() {
    requestCancel();
}

void ManualCalibration::requestCancel() {
    CancelRequested = true;
    // Only the wait for the rundown holds the program busy with this window usable: an exchange under
    // way now is that wait's.
    if (running_)
        link_.transactions.cancel();
    link_.pump.wake();
}

void ManualCalibration::Run_ManualCalibration() {
    {
        base::BusyGuard guard(busy_);
        if (!guard.acquired() ||
            !app::LinkGate(link_).preCheck(clink::ids::ToolEepromReply, app::toolEepromCheck()))
            return;
    }
    clearLines();
    addLine(Heading);
    addLine(Step1);
    if (!Get_ToolMultiplier()) {
        failBox(QStringLiteral("Tool Data Not Rx - Transfer Aborted"), QStringLiteral("Find Multiplier"));
        Reset_Calibration();
        return;
    }
    addLine(MultiplierFound);
    addLine(RunToFinal);
    if (!waitForFinalTorque())
        return;

    addLine(FinalReached);
    clink::LinkState& s = link_.state;
    bool read = false;
    {
        base::BusyGuard guard(busy_);
        s.DataCount = 0;
        read = guard.acquired() && link_.dataTx.ReadRundownResult();
    }
    if (!read) {
        failBox(QStringLiteral("Unable To Rx Final Data"), QStringLiteral("Rx Final Data"));
        Reset_Calibration();
        return;
    }
    addLine(s.RundownResult.texts[0]);
    s.RundownResult.texts[0] = base::fixed40(QString());
    addLine(EnterTorque);
    const int units = int(std::floor(s.RundownResult.values[UnitsValue]));

    for (;;) {
        double entered = 0;
        if (!awaitValue(entered))
            return;
        addLine(Step4);
        const double converted = ConvertTorque(entered, units, base::LbIn);
        addLine(NewValue + base::numberText(converted));
        const double value = base::roundHalfEven(converted);
        if (value > LargestValue) {
            // The command carries two bytes: a larger value would be sent cut.
            failBox(QStringLiteral("New Value Too Large - Enter A Smaller Torque"),
                    QStringLiteral("Calculate New Value"));
            continue;
        }
        addLine(Step5);
        base::BusyGuard guard(busy_);
        const bool sent = guard.acquired() && link_.dataTx.SendCalibrationCommand(long(value));
        addLine(sent ? Completed : Failed);
        return;
    }
}

bool ManualCalibration::Get_ToolMultiplier() {
    base::BusyGuard guard(busy_);
    if (!guard.acquired())
        return false;
    link_.state.DataCount = 0;
    if (link_.dataTx.ReadToolEeprom(MultiplierHigh) && link_.dataTx.ReadToolEeprom(MultiplierLow))
        return true;
    failBox(QStringLiteral("Tool Eeprom Data Not Received"), QStringLiteral("Receive Error"));
    return false;
}

bool ManualCalibration::waitForFinalTorque() {
    // No bound of its own: it waits until the rundown is made, the link fails or the user cancels.
    for (;;) {
        if (CancelRequested || link_.pump.stopped())
            return false;
        link_.pump.doEvents();
        base::BusyGuard guard(busy_, window_);
        if (!guard.acquired()) {
            link_.pump.waitUntil([this] { return CancelRequested; }, BusyRetryPause);
            continue;
        }
        link_.state.ReplyReady = false;
        switch (link_.dataTx.StartCalibration()) {
        case clink::CalibrationFinalTorque:
            return true;
        case clink::CalibrationLinkFailed:
            failBox(QStringLiteral("Unable To Rx Final Reached"), QStringLiteral("Rx Final Reached"));
            Reset_Calibration();
            return false;
        case clink::CalibrationPending:
            break;
        }
    }
}

bool ManualCalibration::awaitValue(double& tenths) {
    for (;;) {
        awaiting_ = true;
        frameEnabled_ = true;
        emit stateChanged();
        waitForUser(link_.pump, [this] { return !awaiting_ || CancelRequested; });
        if (CancelRequested || awaiting_)
            return false;
        if (NewTorqueValue != 0) {
            tenths = NewTorqueValue;
            return true;
        }
        addLine(NotZero);
    }
}

void ManualCalibration::Reset_Calibration() {
    clearLines();
    frameEnabled_ = false;
    frameCaption_ = FrameCaption;
    emit stateChanged();
}

void ManualCalibration::addLine(const QString& line) {
    lines_.append(line);
    emit linesChanged();
}

void ManualCalibration::clearLines() {
    lines_.clear();
    emit linesChanged();
}

void ManualCalibration::failBox(const QString& text, const QString& caption) {
    link_.dialogs.message(text, caption, base::MessageIcon::Critical);
}

} // namespace service
