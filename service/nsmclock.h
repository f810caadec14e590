#pragma once
// The NSM unit's clock as its settings window reads and sets it. Requests go to the unit on 13EF0D01, it
// answers on 13EF010D:
//   read  [DD 0 ...]                        -> [DD hour minute month day year 0 0]
//   set   [DE month day year minute hour 0 0] -> [DE hour minute month day year 0 0] (the time it now holds)
// The hour byte carries the hour 1..12 in its low seven bits and 128 for PM; the year has two digits.

#include <QString>

#include <optional>

namespace clink {
class ControllerLink;
}

namespace service {

struct NsmClock {
    static constexpr int PmBit = 0x80;
    static constexpr int HourMask = 0x7F;
    // The last hour byte that reads as AM (12 without the PM bit is 12 AM).
    static constexpr int LastAmHourByte = 12;

    int hour = 1; // 1..12
    int minute = 0;
    int month = 1;
    int day = 1;
    int year = 0; // two digits, 0..99
    bool pm = false;

    // The hour, with 128 added for PM.
    int hourByte() const { return pm ? hour | PmBit : hour; }
    // From a reply's bytes: the hour is the byte's low seven bits, PM when the byte is above 12.
    static NsmClock fromReply(int hourByte, int minute, int month, int day, int year);
    bool operator==(const NsmClock&) const = default;
};

// The clock's exchanges on the selected link. Both show their own boxes (critical icon, the program's title).
class NsmClockExchange {
public:
    // Ethernet read: DoEvents after the filter frame, requests, and the DoEvents after the first request.
    static constexpr long ReadFilterPause = 5000 * 2;
    static constexpr int ReadRequests = 501;
    static constexpr long ReadFirstWait = 501 * 3;
    // Ethernet set: the same for the set request.
    static constexpr long SetFilterPause = 500 * 2;
    static constexpr int SetRequests = 51;
    static constexpr long SetFirstWait = 301;
    // Parallel-port set: requests, and receive-flag polls after each.
    static constexpr long PpSetRequests = 40;
    static constexpr long PpSetPolls = 75;
    // USB: tries of the read and of the set.
    static constexpr int UsbReadTries = 501;
    static constexpr int UsbSetTries = 51;

    explicit NsmClockExchange(clink::ControllerLink& link) : link_(link) {}

    // The time the unit holds. Nothing when the dongle could not be set up ("Unable To Configure
    // Candongle") or no answer came ("Nsm Read Time/Date Failed").
    std::optional<NsmClock> read();
    // Sends the time; true when the unit echoed it. Shows "Time/Date Sent Successfully" on the parallel
    // port, and "Unable To Transfer Time/Date - Transfer Failed" on every link when no echo came.
    bool set(const NsmClock& clock);

private:
    std::optional<NsmClock> readOnLink();
    std::optional<NsmClock> readEthernet();
    std::optional<NsmClock> readUsb();
    bool setPp(const NsmClock& clock);
    bool setEthernet(const NsmClock& clock);
    bool setUsb(const NsmClock& clock);

    clink::ControllerLink& link_;
    // The read ended at the dongle's set-up, whose box has been shown.
    bool configureFailed_ = false;
};

} // namespace service
