#pragma once
// The fault and rundown monitor's exchanges on the tool's identifier (13EF0106), one way per link:
// on the parallel port the tick looks at the dongle's receive buffer once; over Ethernet it sends filter
// frames on the identifier until the reply handler has stored a report; over USB each exchange sends a
// zero-data frame on it and takes the dongle's answer.

#include <array>
#include <functional>

namespace clink {
class ControllerLink;
}

namespace monitor {

using MessageBytes = std::array<int, 8>;

class ToolMessageExchange {
public:
    // Ethernet: sends of one fault tick (0..50) and the DoEvents before each; the reply waits after the
    // sends share one budget of DoEvents.
    static constexpr int EthernetSends = 51;
    static constexpr long EthernetPassesPerSend = 1000;
    static constexpr long EthernetYieldsPerPass = 3;
    static constexpr long EthernetReplyYields = 301;
    // USB: the rundown report's code and the tries of one rundown tick.
    static constexpr int RundownCode = 0x40;

    explicit ToolMessageExchange(clink::ControllerLink& link) : link_(link) {}

    enum class Look { Nothing, Taken, Discarded };
    // Parallel port: one look at receive buffer 0. A waiting message whose data byte 0 is wanted is read
    // whole into data; another is read up to its byte 0 (data[0]) and dropped. Either way the receive
    // flag is cleared.
    Look lookPp(const std::function<bool(int code)>& wanted, MessageBytes& data);

    enum class Wait { Heard, Silent, Ended };
    // Ethernet: the fault tick's wait for a report (ReplyReady set by the reply handler): the filter
    // frame is sent up to EthernetSends times, each after EthernetPassesPerSend x EthernetYieldsPerPass
    // DoEvents. Ended: the socket is down, the running transaction is over, or cancelled() held after a
    // wait; nothing was heard.
    Wait awaitEthernetReport(const std::function<bool()>& cancelled);
    // Ethernet: the filter frame that has the dongle pass the identifier again; false when refused.
    bool sendEthernetFilter();

    // USB: one exchange of a zero-data frame on the identifier, any answer taken. True when the transfer
    // worked; UsbRxBytes hold the answer (spaces when none came).
    bool exchangeUsb();
    // USB: the rundown tick's exchanges (at most USB::UsualTries) awaiting [40 0 ...]; true when one came.
    bool awaitUsbRundown();

    // The closing frame (10EF0103, all data 0), sent over Ethernet when the socket is connected.
    void sendClosingFrame();

private:
    clink::ControllerLink& link_;
};

} // namespace monitor
