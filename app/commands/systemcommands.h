#pragma once
// System > View: Status, Parameter Sets and SCC Version. The handlers run the System session; a report
// comes back as lines for a new report window.

#include "app/sessions/systemsession.h"
#include "app/ui/commandframe.h"

namespace app {

class SystemCommands : public CommandGroup {
public:
    explicit SystemCommands(CommandFrame& frame);
    void bind() override;

    void mnuReadSystemStatus_Click();
    void mnuSystemReadParameterSets_Click();
    void mnuSCCVersion_Click();

private:
    SystemSession session_;
};

} // namespace app
