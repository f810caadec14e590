#include "app/commands/nsmcommands.h"

#include "app/ui/appcontext.h"

namespace app {

NsmCommands::NsmCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void NsmCommands::bind() {
    frame.onMenu(QStringLiteral("mnuNsmClearRundown"), [this] { mnuNsmClearRundown_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewTimeDate"), [this] { mnuNsmViewTimeDate_Click(); });
    frame.onMenu(QStringLiteral("MnuNsmViewVersion"), [this] { MnuNsmViewVersion_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmRundowns"), [this] { mnuNsmRundowns_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewSettings"), [this] { mnuNsmViewSettings_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmWriteSettings"), [this] { mnuNsmWriteSettings_Click(); });
}

void NsmCommands::mnuNsmClearRundown_Click() {
    session_.mnuNsmClearRundown();
}

void NsmCommands::mnuNsmViewTimeDate_Click() {
    session_.mnuNsmViewTimeDate();
}

void NsmCommands::MnuNsmViewVersion_Click() {
    session_.MnuNsmViewVersion();
}

void NsmCommands::mnuNsmRundowns_Click() {
    frame.ctx.windows.open(wnd::frmLogData);
}

void NsmCommands::mnuNsmViewSettings_Click() {
    frame.showReport(session_.mnuNsmViewSettings());
}

void NsmCommands::mnuNsmWriteSettings_Click() {
    if (!session_.mnuNsmWriteSettings())
        return;
    // The window shows the settings just read and reads the unit's clock itself when it opens.
    frame.ctx.windows.open(wnd::FormNsm);
}

} // namespace app
