// The command groups of the main window, one per subject. A new subject adds its group here.
#include "app/commands/dspcommands.h"
#include "app/commands/launchers.h"
#include "app/commands/loggercommands.h"
#include "app/commands/logincommands.h"
#include "app/commands/nsmcommands.h"
#include "app/commands/parameterfilecommands.h"
#include "app/commands/rundowncommands.h"
#include "app/commands/systemcommands.h"
#include "app/commands/toolcommands.h"
#include "app/commands/transducercommands.h"
#include "app/ui/frmmain.h"

namespace app {

void FrmMain::installCommandGroups() {
    addGroup<SystemCommands>();
    addGroup<WindowLaunchers>();
    addGroup<LoginCommands>();
    addGroup<RundownCommands>();
    addGroup<DataLoggerCommands>();
    addGroup<NsmCommands>();
    addGroup<TransducerCommands>();
    addGroup<ToolCommands>();
    addGroup<DspCommands>();
    addGroup<ParameterFileCommands>();
}

} // namespace app
