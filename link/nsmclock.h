#pragma once
// The NSM unit's clock as its settings window reads and sets it. Requests go to the unit on 13EF0D01, it
// answers on 13EF010D:
//   read  [DD 0 ...]                        -> [DD hour minute month day year 0 0]
//   set   [DE month day year minute hour 0 0] -> [DE hour minute month day year 0 0] (the time it now holds)
// The hour byte carries the hour 1..12 in its low seven bits and 128 for PM; the year has two digits.

#include <array>
#include <optional>

namespace clink {

class ControllerLink;

// The time in the answers' order: hour byte, minute, month, day, year.
using NsmClockFields = std::array<int, 5>;

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

    explicit NsmClockExchange(ControllerLink& link) : link_(link) {}

    // The time the unit holds, read from a released reset line and an empty receive count. Nothing when
    // the dongle could not be set up ("Unable To Configure Candongle") or no answer came ("Nsm Read
    // Time/Date Failed").
    std::optional<NsmClockFields> read();
    // Sends the time; true when the unit echoed it. Shows "Time/Date Sent Successfully" on the parallel
    // port, and "Unable To Transfer Time/Date - Transfer Failed" on every link when no echo came.
    bool set(const NsmClockFields& clock);

private:
    std::optional<NsmClockFields> readOnLink();
    std::optional<NsmClockFields> readEthernet();
    std::optional<NsmClockFields> readUsb();
    bool setPp(const NsmClockFields& clock);
    bool setEthernet(const NsmClockFields& clock);
    bool setUsb(const NsmClockFields& clock);

    ControllerLink& link_;
    // The read ended at the dongle's set-up, whose box has been shown.
    bool configureFailed_ = false;
};

} // namespace clink
