#include "app/commands/systemcommands.h"

#include "app/ui/appcontext.h"

namespace app {

SystemCommands::SystemCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void SystemCommands::bind() {
    frame.onMenu(QStringLiteral("mnuReadSystemStatus"), [this] { mnuReadSystemStatus_Click(); });
    frame.onMenu(QStringLiteral("mnuSystemReadParameterSets"),
                 [this] { mnuSystemReadParameterSets_Click(); });
    frame.onMenu(QStringLiteral("mnuSCCVersion"), [this] { mnuSCCVersion_Click(); });
}

void SystemCommands::mnuReadSystemStatus_Click() {
    frame.showReport(session_.mnuReadSystemStatus());
}

void SystemCommands::mnuSystemReadParameterSets_Click() {
    frame.showReport(session_.mnuSystemReadParameterSets());
}

void SystemCommands::mnuSCCVersion_Click() {
    session_.mnuSCCVersion();
}

} // namespace app
