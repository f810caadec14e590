#pragma once
// System > View > Rundown Data: asks for a Pset, reads its rundown log and prints the rundown report.

#include "app/ui/commandframe.h"
#include "app/rundownlog.h"

class QProgressBar;

namespace app {

// The progress bar Bar1 as a long read drives it.
ReadProgress barProgress(QProgressBar& bar);

class RundownCommands : public CommandGroup {
public:
    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuSystemReadRundownData_Click();
};

} // namespace app
