#pragma once
// The run screen's session (frmRunScreen1, "Lumenquest"): it has the link pass the rundown results
// (clink::RunResultListener), gathers the three messages of each result (runrecord.h), shows it in large
// digits coloured by the result, and adds it to the rundown log (runscreenlog.h).
//
// The link hands on each result message, or (over Ethernet) each whole result. A message with sequence 1
// always begins a new result; a message that does not fit the result being gathered discards it, so a
// result never mixes two rundowns.
//
// A poll does nothing while a command holds the link (the busy state), and after each of its waits it
// stops when the window has gone meanwhile (close()).

#include "monitor/runrecord.h"
#include "monitor/runscreenlog.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace app {
class AppServices;
}
namespace base {
class BusyState;
}
namespace clink {
class ControllerLink;
class RunResultListener;
} // namespace clink

namespace monitor {

class RunScreenSession {
public:
    // The labels lbl(1) to lbl(13) (element 0 unused), as the window numbers them.
    enum Label {
        TargetLabel = 1,
        HighLabel = 2,
        LowLabel = 3,
        AngleLabel = 4,
        AngleHighLabel = 5,
        AngleLowLabel = 6,
        TorqueLabel = 7,
        StatusLabel = 8,
        UnitsLabel = 9,
        PsetLabel = 10,
        PsetCountLabel = 11,
        BarCodeLabel = 12,
        BarCodeHeading = 13,
        LabelCount = 14
    };
    using Labels = std::array<QString, LabelCount>;

    static constexpr int RetryMs = 2000;
    static constexpr int PollMs = 1;
    // DoEvents closing leaves a running poll to end in.
    static constexpr long CloseYields = 100;

    static inline const QString NoLogText = QStringLiteral("Data file does not exist");

    // now: the clock of the log's time and date fields.
    RunScreenSession(clink::ControllerLink& link, const base::BusyState& busy,
                     std::function<QDateTime()> now);
    ~RunScreenSession();
    RunScreenSession(const RunScreenSession&) = delete;
    RunScreenSession& operator=(const RunScreenSession&) = delete;
    // On the program's link, under its busy state, with the clock of its report headers.
    explicit RunScreenSession(app::AppServices& services);

    enum class Start { Polling, Retry, Idle };
    // The window loads: the link is set up to pass the rundown results. Retry: try again in RetryMs.
    Start startLink();
    // The retry every RetryMs while the set-up fails (after a DoEvents; nothing once closing has begun).
    Start retryLink();

    // One poll: at most one message (parallel port), one result (Ethernet) or UsualTries exchanges (USB).
    void poll();

    // Closing: polls that begin now do nothing, and one that waits ends without going on.
    void close() { stopPolling_ = true; }
    bool stopped() const { return stopPolling_; }

    const Labels& labels() const { return labels_; }
    // The colours of the final torque and final angle digits (invalid: the window's own).
    QColor torqueColour() const { return torqueColour_; }
    QColor angleColour() const { return angleColour_; }
    // Messages of the result being gathered (0 to 2).
    int gathered() const { return frameCount_; }

    // View Rundowns: the log's rows for the results grid; nothing when there is no log ("Data file does
    // not exist") or it cannot be read (a box with the reason).
    std::optional<RundownLogRows> viewRundowns();
    // Clear Rundowns: the log keeps its heading row only; a log that cannot be rewritten says so in the
    // status line.
    void clearRundowns();

private:
    Start tryLink(bool retry);
    // Adds six record bytes of a message with this sequence number; a message that does not continue
    // the result discards it. False when the message did not fit.
    bool takeMessage(int sequence, const std::array<int, 6>& bytes);
    void discard() { frameCount_ = 0; }
    void showRecord();
    void logRecord(const RunResult& result, const QString& resultText);
    void setStatus(const QString& text) { labels_[StatusLabel] = text; }

    clink::ControllerLink& link_;
    const base::BusyState& busy_;
    std::function<QDateTime()> now_;
    std::unique_ptr<clink::RunResultListener> listener_;
    Labels labels_;
    QColor torqueColour_;
    QColor angleColour_;
    RunRecordBytes record_{};
    int frameCount_ = 0;
    bool stopPolling_ = false;
    bool logFailureShown_ = false;
};

} // namespace monitor
