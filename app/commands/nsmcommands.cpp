#include "app/commands/nsmcommands.h"

#include "app/ui/appcontext.h"

namespace app {

void NsmCommands::bind() {
    frame.onMenu(QStringLiteral("mnuNsmClearRundown"), [this] { mnuNsmClearRundown_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewTimeDate"), [this] { mnuNsmViewTimeDate_Click(); });
    frame.onMenu(QStringLiteral("MnuNsmViewVersion"), [this] { MnuNsmViewVersion_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmRundowns"), [this] { mnuNsmRundowns_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewSettings"), [this] { mnuNsmViewSettings_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmWriteSettings"), [this] { mnuNsmWriteSettings_Click(); });
}

void NsmCommands::mnuNsmClearRundown_Click() {
    auto busy = frame.busy();
    if (busy)
        session().clearRundown();
}

void NsmCommands::mnuNsmViewTimeDate_Click() {
    auto busy = frame.busy();
    if (busy)
        session().viewTimeDate();
}

void NsmCommands::MnuNsmViewVersion_Click() {
    auto busy = frame.busy();
    if (busy)
        session().viewVersion();
}

void NsmCommands::mnuNsmRundowns_Click() {
    frame.ctx.windows.open(wnd::frmLogData);
}

void NsmCommands::mnuNsmViewSettings_Click() {
    NsmCommandSession nsm = session();
    auto busy = frame.busy();
    if (!busy || !nsm.settingsChecked())
        return;
    {
        WaitCursor hourglass;
        if (!nsm.readSettings())
            return;
    }
    Report report = frame.newReport();
    report.add(nsm.takeSettingsReport());
    report.show();
}

void NsmCommands::mnuNsmWriteSettings_Click() {
    NsmCommandSession nsm = session();
    {
        auto busy = frame.busy();
        if (!busy || !nsm.writeSettingsChecked())
            return;
        WaitCursor hourglass;
        if (!nsm.readSettings())
            return;
    }
    // The window shows the settings just read and reads the unit's clock itself when it opens.
    frame.ctx.windows.open(wnd::FormNsm);
}

NsmCommandSession NsmCommands::session() {
    return NsmCommandSession(frame.ctx.link);
}

} // namespace app
