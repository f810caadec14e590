#pragma once
// Reset of chosen controller settings to their factory state in one run: the DSP parameters, the Psets, the
// logic I/O program and the tool's calibration value, in that order. Each item that completes is reported
// done; the first failure shows its box and ends the run, so later items are left as they were.
//
//   ResetAllSession session(ctx);
//   QObject::connect(&session, &ResetAllSession::itemDone, ...);   // shows "Done" beside the item
//   session.cmdResetAll_Click({.dsp = true, .toolCalibration = true});

#include <QObject>

namespace app {
class AppServices;
}

namespace service {

// The items in the order the run takes them.
enum class ResetItem { Dsp, Psets, Logic, ToolCalibration };
inline constexpr int ResetItems = 4;

struct ResetChoice {
    bool dsp = false;
    bool psets = false;
    bool logic = false;
    bool toolCalibration = false;
};

class ResetAllSession : public QObject {
    Q_OBJECT
public:
    // The DSP reset goes out this many times on the parallel port (once on the other links).
    static constexpr int PpDspResets = 4;

    explicit ResetAllSession(app::AppServices& ctx) : ctx_(ctx) {}

    // Runs the chosen items. False when another command holds the program busy (nothing done).
    bool cmdResetAll_Click(const ResetChoice& choice);
    // The window is closing: the run ends after the item under way.
    void cancel() { cancelled_ = true; }

signals:
    void itemDone(service::ResetItem item);

private:
    // A control command after the link check for its acknowledgement; the failure texts and captions.
    struct ControlReset {
        int code;
        QString dongleFailed; // the parallel port's own text (empty: the usual one)
        QString dongleFailedCaption;
        QString notReset;
        QString notResetCaption;
    };
    bool controlReset(const ControlReset& reset);
    bool resetDsp();
    bool resetPsets();
    bool resetLogic();
    bool resetToolCalibration();

    app::AppServices& ctx_;
    bool cancelled_ = false;
};

} // namespace service
