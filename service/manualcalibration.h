#pragma once
// The manual torque calibration's session. The user runs one rundown to final torque, reads the true torque
// from a reference instrument and types it in; the session converts it from the rundown's units to tenths of
// lb-in and sends it with the calibration command. The controller corrects itself; the session guides the
// steps with lines in the window's list and reports the outcome.
//
//   ManualCalibration calibration(ctx.link, ctx.busy);
//   calibration.mnuManualCalibration_Click();   // runs; while a value is awaited the window calls
//   calibration.btnManualCal_Click(100);        // the typed torque
//
// Exit during a run cancels it (a wait for the controller under way ends at once, and the run ends at its
// next check), turns the menu on again and clears the list; the next Exit closes the window.

#include "base/busyguard.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
}

namespace service {

class ManualCalibration : public QObject {
    Q_OBJECT
public:
    // The entry field's range (the true torque in the rundown's units).
    static constexpr double LargestEntry = 10000;
    // The calibration command carries the value as two bytes.
    static constexpr double LargestValue = 0xFFFF;
    // Tool EEPROM locations of the tool's multiplier (high byte, then low byte).
    static constexpr int MultiplierHigh = 58;
    static constexpr int MultiplierLow = 57;
    // The frame's captions: at rest, and while a value is awaited.
    static inline const QString FrameCaption = QStringLiteral("Calibration");
    static inline const QString EntryCaption = QStringLiteral("Manual Calibration - New Tq Value");

    // A torque from one units code to another with the fixed factors (1 lb-in, 2 lb-ft, 3 kg-cm, 4 kg-m,
    // 5 Nm); equal codes or a code outside 1..5 leave the value unchanged.
    static double ConvertTorque(double value, int fromUnits, int toUnits);

    ManualCalibration(clink::ControllerLink& link, base::BusyState& busy);
    // On the program's link, under its busy state.
    explicit ManualCalibration(app::AppServices& services);

    // The window the run belongs to: while the run waits for the rundown (which can take as long as the
    // user likes) it holds the program busy in that window's name, so the window's Exit stays usable.
    void setWindow(const QObject* window) { window_ = window; }

    // Starts a calibration; the menu stays off from now on (until Exit).
    void mnuManualCalibration_Click();
    // The typed torque; taken only while a value is awaited.
    void btnManualCal_Click(double value);
    // Exit: true when the window may close; otherwise the calibration is cancelled.
    bool mnuExit_Click();
    // The window is closing: a running calibration ends at its next wait, without a message.
    void cancel();

    bool running() const { return running_; }
    bool menuEnabled() const { return menuEnabled_; }
    bool frameEnabled() const { return frameEnabled_; }
    QString frameCaption() const { return frameCaption_; }
    bool awaitingValue() const { return awaiting_; }
    const QStringList& lines() const { return lines_; }

signals:
    void linesChanged();
    void stateChanged();
    // A calibration ended, whichever way.
    void finished();

private:
    void Run_ManualCalibration();
    bool Get_ToolMultiplier();
    bool waitForFinalTorque();
    // The typed value in tenths of the rundown's units; none when cancelled.
    bool awaitValue(double& tenths);
    void Reset_Calibration();
    void addLine(const QString& line);
    void clearLines();
    void failBox(const QString& text, const QString& caption);

    // Ends the run at its next check, and the exchange it waits in now.
    void requestCancel();

    clink::ControllerLink& link_;
    base::BusyState& busy_;
    const QObject* window_ = nullptr;
    bool running_ = false;
    bool CancelRequested = false;
    bool menuEnabled_ = true;
    bool frameEnabled_ = false;
    QString frameCaption_ = FrameCaption;
    bool awaiting_ = false;
    double NewTorqueValue = 0;
    QStringList lines_;
};

} // namespace service
