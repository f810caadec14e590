#pragma once
// The tool button calibration's session. The tool decides that a button is pressed by comparing its
// sensor reading with an upper and a lower threshold kept in the tool EEPROM. For one button the session
// asks the tool to stream its sensors, measures the button released (the highest of 100 readings) and
// pressed (the lowest of 100), each step started by the user with "Run Test", places the new thresholds
// around the midpoint and, after the user's OK, writes them to the tool (upper then lower, each word high
// byte first).
//
//   ButtonCalibration calibration(services);
//   calibration.BtnCal_Click(ButtonCalibration::CwButton);   // runs until the thresholds are written
//   calibration.BtnCal_Click(ButtonCalibration::RunTestButton); // (from the window while a step waits)

#include "base/busyguard.h"
#include "base/progress.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
class DataBufferArray;
} // namespace clink

namespace service {

// New thresholds from the released maximum and the pressed minimum: the midpoint (halves to the even
// neighbour), a band of one hundredth of it (rounded down), upper = mid + band, lower = mid - band.
struct ButtonThresholds {
    int mid = 0;
    int band = 0;
    int upper = 0;
    int lower = 0;
    // Upper high byte, upper low byte, lower high byte, lower low byte.
    std::array<int, 4> bytes() const;
};
ButtonThresholds buttonThresholds(int releasedMaximum, int pressedMinimum);

// The readings of one step: sensor word at this byte offset of each frame in DataBuffer (high byte first).
struct ButtonReadings {
    int maximum = 0;
    int minimum = 0;
    long total = 0;
    double average() const;
};
ButtonReadings buttonReadings(const clink::DataBufferArray& buffer, int offset);

class ButtonCalibration : public QObject {
    Q_OBJECT
public:
    // The window's buttons (BtnCal indexes).
    enum Button { TriggerButton = 1, CwButton = 2, CenterButton = 3, CcwButton = 4, RunTestButton = 6 };
    static constexpr int FirstButton = TriggerButton;
    static constexpr int LastButton = CcwButton;
    static constexpr int Steps = 8;

    ButtonCalibration(clink::ControllerLink& link, base::BusyState& busy);
    // On the program's link, under its busy state.
    explicit ButtonCalibration(app::AppServices& services);

    // The window's progress bar: the button-test requests going out, then the frames of a step.
    void setProgress(base::Progress& progress) { progress_ = &progress; }
    // The window the calibration belongs to: while a step takes its readings (seconds of the tool's
    // stream) it holds the program busy in that window's name, so the window can still be closed.
    void setWindow(const QObject* window) { window_ = window; }

    // 1 to 4: calibrates that button; the Run Test button ends the wait of a step.
    void BtnCal_Click(int index);
    // Ends a running calibration at its next wait, without a message (the window is closing); readings
    // under way end at once.
    void cancel();

    bool running() const { return running_; }
    // BtnCal 1 to 4: off while a calibration runs. Run Test: on only while a step waits for it.
    bool calibrateEnabled() const { return !running_; }
    bool runTestEnabled() const { return runTestEnabled_; }
    const QStringList& lines() const { return lines_; }

signals:
    void linesChanged();
    void buttonsChanged();
    // A calibration ended, whichever way.
    void finished();

private:
    void calibrate(int button);
    // One measuring step; false when it got no readings or was cancelled.
    bool Show_ButtonStep(int step);
    bool writeThresholds(int button, const std::array<int, 4>& bytes);
    void addLine(const QString& line);
    void setRunTestEnabled(bool enabled);

    clink::ControllerLink& link_;
    base::BusyState& busy_;
    base::NoProgress noProgress_;
    base::Progress* progress_ = &noProgress_;
    const QObject* window_ = nullptr;
    bool running_ = false;
    bool cancelled_ = false;
    bool RunTestPressed = false;
    bool runTestEnabled_ = false;
    // ButtonLimits: the limit each step measured (steps 1 to 8; element 0 unused), kept until the step
    // measures again.
    std::array<int, Steps + 1> limits_{};
    QStringList lines_;
};

} // namespace service
