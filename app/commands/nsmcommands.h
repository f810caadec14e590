#pragma once
// The Nsm menu: the unit's version, clock and settings, its rundown window and settings window, and the
// (hidden) rundown clear. Requests go to the unit on 13EF0D01; it answers on 13EF010D (the clear on
// 10EF010D). Each command checks its own link and shows its results in boxes, except View Settings,
// which prints a report.

#include "app/ui/commandframe.h"
#include "base/eventpump.h"
#include "link/waitbudget.h"

#include <algorithm>
#include <array>
#include <optional>

namespace app {

class NsmCommands : public CommandGroup {
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

    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuNsmClearRundown_Click();
    void mnuNsmViewTimeDate_Click();
    void MnuNsmViewVersion_Click();
    void mnuNsmRundowns_Click();
    void mnuNsmViewSettings_Click();
    void mnuNsmWriteSettings_Click();

private:
    // Bytes 0..5 of the unit's answer.
    using Answer = std::array<int, 6>;

    // Parallel port: the request with this code until an answer carrying it comes (the dongle is set up);
    // the answer's bytes 1..bytes are read.
    std::optional<Answer> askPp(int code, int bytes);
    // USB: the request with this code, up to the usual tries.
    std::optional<Answer> askUsb(int code);
    // Ethernet: the unit answers a frame on its own reply identifier. Shows why and returns false when
    // the socket is not connected or the unit stays silent; sends counts the frames sent after the first.
    bool nsmPresent(clink::SharedWaitBudget& budget, int& sends);

    void viewTimeDateEthernet();
    void viewVersionEthernet();
    void showTimeDate(const Answer& a);
};

} // namespace app
