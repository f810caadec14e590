#include "app/commands/rundowncommands.h"

#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"

namespace app {

void FrmMain::Get_RundownData2(int pset, bool& ok) {
    ok = RundownSession(ctx_.services, frame_.progress()).Get_RundownData2(pset);
}

RundownCommands::RundownCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void RundownCommands::bind() {
    frame.onMenu(QStringLiteral("mnuSystemReadRundownData"), [this] { mnuSystemReadRundownData_Click(); });
}

void RundownCommands::mnuSystemReadRundownData_Click() {
    frame.showReport(session_.mnuSystemReadRundownData());
}

} // namespace app
