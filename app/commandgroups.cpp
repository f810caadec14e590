// The command groups of the main window, one per subject. A new subject adds its group here.
#include "app/frmmain.h"
#include "app/launchers.h"
#include "app/logincommands.h"

namespace app {

void FrmMain::installCommandGroups() {
    addGroup<WindowLaunchers>();
    addGroup<LoginCommands>();
}

} // namespace app
