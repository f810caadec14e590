// The command groups of the main window, one per subject. A new subject adds its group here.
#include "app/dspcommands.h"
#include "app/frmmain.h"
#include "app/launchers.h"
#include "app/loggercommands.h"
#include "app/logincommands.h"
#include "app/nsmcommands.h"
#include "app/parameterfilecommands.h"
#include "app/rundowncommands.h"
#include "app/systemcommands.h"
#include "app/toolcommands.h"
#include "app/transducercommands.h"

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
