#pragma once
// System > View > Rundown Data: asks for a Pset, reads its rundown log and prints the rundown report.

#include "app/rundownlog.h"
#include "app/ui/commandframe.h"

namespace app {

class RundownCommands : public CommandGroup {
public:
    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuSystemReadRundownData_Click();
};

} // namespace app
