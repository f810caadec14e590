#pragma once
// The Nsm menu: the unit's version, clock and settings, its rundown window and settings window, and the
// (hidden) rundown clear. The exchanges, their boxes and the busy state are the Nsm session's; the menu
// prints the View Settings report and opens the windows.

#include "app/sessions/nsmcommandsession.h"
#include "app/ui/commandframe.h"

namespace app {

class NsmCommands : public CommandGroup {
public:
    explicit NsmCommands(CommandFrame& frame);
    void bind() override;

    void mnuNsmClearRundown_Click();
    void mnuNsmViewTimeDate_Click();
    void MnuNsmViewVersion_Click();
    void mnuNsmRundowns_Click();
    void mnuNsmViewSettings_Click();
    void mnuNsmWriteSettings_Click();

private:
    NsmCommandSession session_;
};

} // namespace app
