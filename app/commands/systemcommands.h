#pragma once
// System > View: Status, Parameter Sets and SCC Version.

#include "app/ui/commandframe.h"

namespace app {

class SystemCommands : public CommandGroup {
public:
    // Range of Bar1 during the Parameter Sets report.
    static constexpr int PsetBarMaximum = 10;

    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuReadSystemStatus_Click();
    void mnuSystemReadParameterSets_Click();
    void mnuSCCVersion_Click();
};

} // namespace app
