#pragma once
// System > View > Rundown Data: the handler runs the Rundown session, which asks
// for a Pset, reads its rundown log and returns the rundown report.

#include "app/sessions/rundownsession.h"
#include "app/ui/commandframe.h"

namespace app {

class RundownCommands : public CommandGroup {
public:
    explicit RundownCommands(CommandFrame& frame);
    void bind() override;

    void mnuSystemReadRundownData_Click();

private:
    RundownSession session_;
};

} // namespace app
