#pragma once
// The fault and rundown monitor's session (FrmMonitor): the list it shows and the ticks of both modes on
// the chosen link, as the window's timers run them.
//
// Fault mode: each tick takes at most one fault report and prints its group (faultcodes.h). Reports that
// are no fault group count as misses, as does an Ethernet tick that heard nothing; more than MaxMisses
// misses clear the list to "No Fault Codes Received". The list is replaced by each report on the
// parallel port, accumulates over USB, and is cleared every sixth tick over Ethernet.
// Rundown mode: each rundown report is shown with the controller's current target (rundownlines.h).
//
// A tick does nothing while a command holds the link (the busy state), and after each of its waits it
// stops when the window has gone meanwhile (close()).

#include "monitor/toolmessages.h"

#include <QStringList>

namespace app {
class AppServices;
}
namespace base {
class BusyState;
}
namespace clink {
class ControllerLink;
}

namespace monitor {

class MonitorSession {
public:
    static constexpr int MaxMisses = 25;
    // Ethernet: the list is cleared on every tick after this many.
    static constexpr int EthernetTicksPerList = 5;
    // The pause between two fault ticks: 25,000 DoEvents, or 20,000 over Ethernet.
    static constexpr int FaultIntervalMs = 250;
    static constexpr int EthernetFaultIntervalMs = 200;
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
    void faultTickPp();
    void faultTickEthernet();
    void faultTickUsb();
    void countMiss() { ++faultMissCount_; }
    // More than MaxMisses: the count starts again and the list says so.
    void checkMisses();
    void printGroup(const MessageBytes& data);

    RundownTick rundownTickPp();
    RundownTick rundownTickEthernet();
    RundownTick rundownTickUsb();
    // Reads the status and shows the rundown; CloseWindow when the status did not come.
    RundownTick showRundown(const MessageBytes& data);
    RundownTick dongleFailure();
    bool busy() const;

    clink::ControllerLink& link_;
    const base::BusyState& busy_;
    ToolMessageExchange exchange_;
    QStringList lines_;
    int faultMissCount_ = 0;
    int ethernetTickCount_ = 0;
    bool closed_ = false;
};

} // namespace monitor
