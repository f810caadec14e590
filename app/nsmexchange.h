#pragma once
// The NSM unit's exchanges on each link. Requests go to the unit on 13EF0D01; it answers on 13EF010D. On the
// parallel port a request is repeated until an answer carrying its code comes; over USB the dongle takes
// the answer; over Ethernet the unit must first answer a frame on its own reply identifier (the presence
// check), then the request is sent until the reply handler has the answer.
//
// The reads show their failures in the program's boxes; the caller shows what it read.

#include "base/eventpump.h"
#include "link/linkcheck.h"
#include "link/waitbudget.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace clink {
class ControllerLink;
}

namespace app {

// Bytes 0..5 of the unit's answer: the request's code, then the answer's data.
using NsmAnswer = std::array<int, 6>;

class NsmExchange {
public:
    // Parallel port: requests per command and CANINTF polls per request (fixed counts).
    static constexpr long PpRequests = 30;
    static constexpr long PpPolls = 15;
    // Ethernet: frames of the presence check and of the clock request after it, all told.
    static constexpr int EthernetSends = 11;
    // Ethernet version read: the most requests, and the DoEvents after its filter frame.
    static constexpr long VersionRequests = 65000;
    static constexpr long VersionFilterPause = 5000 * 2;
    // Wait budgets (DoEvents) of the presence check and of the version read, held to the wait cap.
    static constexpr long WaitCap = long(base::MaxWait / base::DoEventsSlice);
    static constexpr long PresenceBudget = std::min(10001L * 10001L, WaitCap);
    static constexpr long VersionBudget = std::min(3001L * 3001L, WaitCap);

    // Captions of the answers and failures the NSM commands show.
    static inline const QString TransferSuccessful = QStringLiteral("Transfer Successful");
    static inline const QString ReceiveError = QStringLiteral("Receive Error");
    static inline const QString NotCommunicating = QStringLiteral("NSM Not Communicating");

    explicit NsmExchange(clink::ControllerLink& link) : link_(link) {}

    // Parallel port: the request with this code until an answer carrying it comes (the dongle is set up);
    // the answer's bytes 1..bytes are read.
    std::optional<NsmAnswer> askPp(int code, int bytes);
    // USB: the request with this code, up to the usual tries.
    std::optional<NsmAnswer> askUsb(int code);
    // Ethernet: the unit answers a frame on its own reply identifier. Fails when the socket is not
    // connected or the unit stays silent; sends counts the frames sent after the first.
    clink::LinkCheckResult present(clink::SharedWaitBudget& budget, int& sends);

    // The unit's clock on the link chosen: bytes 1..5 are hour, minute and three date fields.
    std::optional<NsmAnswer> readClock();
    // The unit's software version on the link chosen, shown in an information box.
    void viewVersion();
    // The link step before the settings are read for the report, and before they are read for the
    // settings window.
    clink::LinkCheckResult settingsCheck();
    clink::LinkCheckResult writeSettingsCheck();

private:
    std::optional<NsmAnswer> readClockEthernet();
    void viewVersionEthernet();
    // After the presence check: only answers with this code are taken, and the handler stays armed by the
    // presence check's answer; with quietFirst once the line has been quiet.
    void expectAfterPresence(int code, bool quietFirst);

    clink::ControllerLink& link_;
};

} // namespace app
