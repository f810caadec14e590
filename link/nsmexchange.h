#pragma once
// The NSM unit's conversations of the Nsm menu on each link. Requests go to the unit on 13EF0D01; it
// answers on 13EF010D. On the parallel port a request is repeated until an answer carrying its code comes;
// over USB the dongle takes the answer; over Ethernet the unit must first answer a frame on its own reply
// identifier (the presence check), then the request is sent until the reply handler has the answer.
//
// The reads show their failures and the version in the program's boxes, as each link words them; the
// caller shows the clock it read.

#include "base/eventpump.h"
#include "link/linkcheck.h"
#include "link/waitbudget.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace clink {

class ControllerLink;

// Bytes 0..5 of the unit's answer: the request's code, then the answer's data.
using NsmAnswer = std::array<int, 6>;

// "Nsm Version 2.5"; over Ethernet "Nsm Version : 2.5".
QString nsmVersionText(int major, int minor, bool ethernet);

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

    explicit NsmExchange(ControllerLink& link) : link_(link) {}

    // Parallel port: the request with this code until an answer carrying it comes (the dongle is set up);
    // the answer's bytes 1..bytes are read.
    std::optional<NsmAnswer> askPp(int code, int bytes);
    // USB: the request with this code, up to the usual tries.
    std::optional<NsmAnswer> askUsb(int code);
    // Ethernet: the unit answers a frame on its own reply identifier. Fails when the socket is not
    // connected or the unit stays silent; sends counts the frames sent after the first.
    LinkCheckResult present(SharedWaitBudget& budget, int& sends);

    // The unit's clock on the link chosen, from a released reset line and an empty receive count: bytes
    // 1..5 are hour, minute and three date fields.
    std::optional<NsmAnswer> readClock();
    // The unit's software version on the link chosen, shown in an information box.
    void viewVersion();
    // The link step before the settings are read for the report, and before they are read for the
    // settings window.
    LinkCheckResult settingsCheck();
    LinkCheckResult writeSettingsCheck();

    // The rundown data cleared in the unit: the reset line released, the dongle set up for the clear's
    // answer, the receive count emptied and the clear asked for by the parallel-port steps whatever the
    // link (off the parallel port no answer can be read). A dongle that could not be set up has shown its
    // box.
    enum class RundownClear { LinkFailed, Cleared, NotCleared };
    RundownClear clearRundowns();

    // One setting (item 1..8) written. On the parallel port a failed write has shown its own box; the
    // other links fail silently.
    enum class SettingWrite { Written, FailureShown, NotWritten };
    SettingWrite writeSetting(int item, int value);

private:
    std::optional<NsmAnswer> readClockEthernet();
    void viewVersionEthernet();
    // After the presence check: only answers with this code are taken, and the handler stays armed by the
    // presence check's answer; with quietFirst once the line has been quiet.
    void expectAfterPresence(int code, bool quietFirst);
    // A dongle set up for the unit's answers, or its failure in a box.
    bool dongleFor(CanId awaited, const QString& failText);

    ControllerLink& link_;
};

} // namespace clink
