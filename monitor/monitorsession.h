#pragma once
// The fault and rundown monitor's session (FrmMonitor): the list it shows and the ticks of both modes, as
// the window's timers run them, over the link's conversation on the tool's identifier (clink::ToolReports).
//
// Fault mode: each tick takes at most one fault report and prints its group (faultcodes.h). Reports that
// are no fault group count as misses, as does an Ethernet tick that heard nothing; more than MaxMisses
// misses clear the list to "No Fault Codes Received". Whether a report replaces the list (each one on the
// parallel port, every sixth tick over Ethernet) or adds to it (USB) comes with what the tick heard.
// Rundown mode: each rundown report is shown with the controller's current target (rundownlines.h).
//
// A tick does nothing while a command holds the link (the busy state), and after each of its waits it
// stops when the window has gone meanwhile (close()).

#include <QStringList>

#include <array>
#include <memory>

namespace app {
class AppServices;
}
namespace base {
class BusyState;
}
namespace clink {
class ControllerLink;
class ToolReports;
} // namespace clink

namespace monitor {

class MonitorSession {
public:
    static constexpr int MaxMisses = 25;
    // DoEvents after the closing frame.
    static constexpr long ClosingYields = 40000;

    static inline const QString NoFaultsText = QStringLiteral("No Fault Codes Received");
    // The dongle could not be set up (the rundown tick, the transmit test).
    static inline const QString UnableToConfigureText = QStringLiteral("Unable To Configure CanDongle");
    static inline const QString UnableToContinueText = QStringLiteral("Unable to continue");
    static inline const QString StatusNotReceivedText = QStringLiteral("System Status Not Received");
    static inline const QString ReceiveErrorCaption = QStringLiteral("Receive Error");

    // busy: the program's busy state, which a command holds while it talks to the controller.
    MonitorSession(clink::ControllerLink& link, const base::BusyState& busy);
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;
    // On the program's link, under its busy state.
    explicit MonitorSession(app::AppServices& services);

    // The window loads: misses 0, the dongle's reset line released.
    void load();

    // One fault tick.
    void faultTick();
    // The time to the next fault tick on the chosen link.
    int faultIntervalMs() const;

    enum class RundownTick { Continue, CloseWindow };
    // One rundown tick; CloseWindow after a failure box (the dongle could not be set up, or the status
    // did not come).
    RundownTick rundownTick();

    // Closing: the closing frame over Ethernet, then ClosingYields DoEvents.
    void sendClosingFrame();
    // The window is gone: a tick that is waiting ends without going on.
    void close() { closed_ = true; }
    bool closed() const { return closed_; }

    const QStringList& lines() const { return lines_; }
    int missCount() const { return faultMissCount_; }

private:
    // Data bytes 0..7 of a report.
    using MessageBytes = std::array<int, 8>;

    void countMiss() { ++faultMissCount_; }
    // More than MaxMisses: the count starts again and the list says so.
    void checkMisses();
    void printGroup(const MessageBytes& data);

    // Reads the status and shows the rundown; CloseWindow when the status did not come.
    RundownTick showRundown(const MessageBytes& data);
    RundownTick dongleFailure();
    bool busy() const;

    clink::ControllerLink& link_;
    const base::BusyState& busy_;
    std::unique_ptr<clink::ToolReports> reports_;
    QStringList lines_;
    int faultMissCount_ = 0;
    bool closed_ = false;
};

} // namespace monitor
