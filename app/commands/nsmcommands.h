#pragma once
// The Nsm menu: the unit's version, clock and settings, its rundown window and settings window, and the
// (hidden) rundown clear. The exchanges with the unit are NsmExchange's (13EF0D01, answered on 13EF010D; the
// clear on 10EF010D). Each command shows its results in boxes, except View Settings, which prints a report.

#include "app/ui/commandframe.h"

namespace app {

class NsmCommands : public CommandGroup {
public:
    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuNsmClearRundown_Click();
    void mnuNsmViewTimeDate_Click();
    void MnuNsmViewVersion_Click();
    void mnuNsmRundowns_Click();
    void mnuNsmViewSettings_Click();
    void mnuNsmWriteSettings_Click();
};

} // namespace app
