#include "app/commands/nsmcommands.h"

#include "app/nsmexchange.h"
#include "app/nsmtexts.h"
#include "app/ui/appcontext.h"
#include "base/dialogs.h"
#include "link/commandcodes.h"

namespace app {

namespace ids = clink::ids;
namespace codes = clink::codes;
using base::MessageIcon;

void NsmCommands::bind() {
    frame.onMenu(QStringLiteral("mnuNsmClearRundown"), [this] { mnuNsmClearRundown_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewTimeDate"), [this] { mnuNsmViewTimeDate_Click(); });
    frame.onMenu(QStringLiteral("MnuNsmViewVersion"), [this] { MnuNsmViewVersion_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmRundowns"), [this] { mnuNsmRundowns_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewSettings"), [this] { mnuNsmViewSettings_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmWriteSettings"), [this] { mnuNsmWriteSettings_Click(); });
}

void NsmCommands::mnuNsmClearRundown_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    auto busy = frame.busy();
    if (!busy)
        return;
    link.spi.ResetLineHigh();
    if (!frame.dongleOnlyPreCheck(ids::NsmReply2,
                                  QStringLiteral("Unable To Configure ") + frame.state().ControllerIpAddress))
        return;
    frame.state().DataCount = 0;
    // Parallel-port steps whatever the link: off the parallel port no answer can be read.
    if (NsmExchange(link).askPp(codes::NsmClearRundowns, 0))
        frame.dialogs().message(QStringLiteral("Rundown Cleared Successfully"),
                                NsmExchange::TransferSuccessful, MessageIcon::Information);
    else
        frame.dialogs().message(QStringLiteral("Nsm Clear Rundown Data Failed"), NsmExchange::ReceiveError,
                                MessageIcon::Critical);
}

void NsmCommands::mnuNsmViewTimeDate_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    auto busy = frame.busy();
    if (!busy)
        return;
    link.spi.ResetLineHigh();
    frame.state().DataCount = 0;
    if (const std::optional<NsmAnswer> a = NsmExchange(link).readClock())
        frame.dialogs().message(nsmTimeDateText((*a)[1], (*a)[2], (*a)[3], (*a)[4], (*a)[5]),
                                NsmExchange::TransferSuccessful, MessageIcon::Information);
}

void NsmCommands::MnuNsmViewVersion_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    NsmExchange(frame.ctx.link).viewVersion();
}

void NsmCommands::mnuNsmRundowns_Click() {
    frame.ctx.windows.open(wnd::frmLogData);
}

void NsmCommands::mnuNsmViewSettings_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    auto busy = frame.busy();
    if (!busy || !frame.linkChecked(NsmExchange(link).settingsCheck()))
        return;
    {
        WaitCursor hourglass;
        if (!link.dataTx.ReadNsmSettings())
            return;
    }
    Report report = frame.newReport();
    report.add(takeNsmSettingsLines(frame.state().NsmSettings));
    report.show();
}

void NsmCommands::mnuNsmWriteSettings_Click() {
    AppContext& ctx = frame.ctx;
    {
        auto busy = frame.busy();
        if (!busy || !frame.linkChecked(NsmExchange(ctx.link).writeSettingsCheck()))
            return;
        WaitCursor hourglass;
        if (!ctx.link.dataTx.ReadNsmSettings())
            return;
    }
    // The window shows the settings just read and reads the unit's clock itself when it opens.
    ctx.windows.open(wnd::FormNsm);
}

} // namespace app
