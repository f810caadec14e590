#pragma once
// The fault and rundown monitor's conversation on the tool's identifier (13EF0106), one way per link: on
// the parallel port each tick looks at the dongle's receive buffer once; over Ethernet it sends filter
// frames on the identifier until the reply handler has stored a report; over USB each exchange sends a
// zero-data frame on it and takes the dongle's answer. What the monitor lists of a report (the fault group's
// lines, the rundown's torque and angle) is the monitor's; how each link hears it, and how each link's list
// takes it, is told here.
//
//   clink::ToolReports reports(link);
//   const clink::FaultHearing h = reports.hearFault(isFaultGroup, [&] { return closed; });
//   if (h.heard == clink::FaultHearing::Heard::Ended) return;
//   if (h.clearsList) lines.clear();
//   ...

#include <array>
#include <functional>
#include <optional>

namespace clink {

class ControllerLink;

// Data bytes 0..7 of a report.
using ReportBytes = std::array<int, 8>;

// What one fault tick heard, and how the list takes it.
struct FaultHearing {
    enum class Heard {
        Nothing, // nothing came (parallel port: no message waiting; USB: the transfer failed)
        Fault,   // a fault report: report holds it, and so does DataBuffer(0..7)
        Miss,    // another report, or (Ethernet) silence through all the tick's frames
        Ended,   // the tick ended without a verdict (Ethernet: the socket is down, the transaction is over,
                 // or the monitor was closed during a wait)
    };
    Heard heard = Heard::Nothing;
    ReportBytes report{};
    // The list starts afresh before what was heard is shown: each fault report on the parallel port,
    // every sixth tick that heard something over Ethernet; over USB the lines accumulate.
    bool clearsList = false;
    // Over Ethernet a fault report starts the count of misses again.
    bool faultClearsMisses = false;
};

class ToolReports {
public:
    // Ethernet: sends of one fault tick (0..50) and the DoEvents before each; the reply waits after the
    // sends share one budget of DoEvents.
    static constexpr int EthernetSends = 51;
    static constexpr long EthernetPassesPerSend = 1000;
    static constexpr long EthernetYieldsPerPass = 3;
    static constexpr long EthernetReplyYields = 301;
    // Over Ethernet the list is cleared on every tick after this many.
    static constexpr int EthernetTicksPerList = 5;
    // The pause between two fault ticks: 25,000 DoEvents, or 20,000 over Ethernet.
    static constexpr int FaultIntervalMs = 250;
    static constexpr int EthernetFaultIntervalMs = 200;
    // The rundown report's code (data byte 0).
    static constexpr int RundownCode = 0x40;

    explicit ToolReports(ControllerLink& link) : link_(link) {}

    // The monitor opens: the dongle's reset line is released (on the parallel port; nothing elsewhere).
    void open();

    // One fault tick. isFault tells a fault report by its code (data byte 0); cancelled tells that the
    // monitor has gone, which ends a wait. Parallel port and USB keep the code of any report heard in
    // DataBuffer(0).
    FaultHearing hearFault(const std::function<bool(int code)>& isFault,
                           const std::function<bool()>& cancelled);
    // The list was restarted after too many misses: over Ethernet the count towards the sixth tick starts
    // again once it has passed.
    void listRestarted();
    // The time to the next fault tick on the chosen link.
    int faultIntervalMs() const;

    // One rundown tick's report, when one came: on the parallel port the message waiting in the dongle,
    // over Ethernet the one the reply handler kept (CycleStatusWords), over USB the answer of one of the
    // usual tries, unless cancelled() held after them. Parallel port and USB keep its data bytes 1..7 in
    // DataBuffer(1..7).
    std::optional<ReportBytes> hearRundown(const std::function<bool()>& cancelled);
    // Before the status read that shows a rundown: on the parallel port the dongle set up for the status
    // broadcast. False when that failed.
    bool readyForStatus();
    // After the rundown was shown, the link listens for the next: on the parallel port the dongle set up
    // for the tool's identifier again, over Ethernet the filter frame that has the dongle pass it.
    enum class Relisten { Listening, DongleFailed, FilterRefused };
    Relisten listenAgain();

    // The closing frame (10EF0103, all data 0), sent over Ethernet when the socket is connected.
    void sendClosingFrame();

private:
    enum class Look { Nothing, Taken, Discarded };
    // Parallel port: one look at receive buffer 0. A waiting message whose data byte 0 is wanted is read
    // whole into data; another is read up to its byte 0 (data[0]) and dropped. Either way the receive
    // flag is cleared.
    Look lookPp(const std::function<bool(int code)>& wanted, ReportBytes& data);
    FaultHearing hearFaultPp(const std::function<bool(int code)>& isFault);
    FaultHearing hearFaultEthernet(const std::function<bool(int code)>& isFault,
                                   const std::function<bool()>& cancelled);
    FaultHearing hearFaultUsb(const std::function<bool(int code)>& isFault);
    enum class Wait { Heard, Silent, Ended };
    // Ethernet: the fault tick's wait for a report (ReplyReady set by the reply handler): the filter
    // frame is sent up to EthernetSends times, each after EthernetPassesPerSend x EthernetYieldsPerPass
    // DoEvents. Ended: the socket is down, the running transaction is over, or cancelled() held after a
    // wait; nothing was heard.
    Wait awaitEthernetReport(const std::function<bool()>& cancelled);
    // Ethernet: the filter frame that has the dongle pass the identifier again; false when refused.
    bool sendEthernetFilter();
    // Keeps data bytes first..7 in DataBuffer(first..7), as the monitor's readers find them.
    void keep(const ReportBytes& data, int first);

    ControllerLink& link_;
    // Ethernet: fault ticks since the list was last cleared by their count.
    int ethernetTickCount_ = 0;
};

} // namespace clink
