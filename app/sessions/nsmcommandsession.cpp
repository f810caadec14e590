#include "app/sessions/nsmcommandsession.h"

#include "app/nsmexchange.h"
#include "app/nsmtexts.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"

namespace app {

namespace ids = clink::ids;
namespace codes = clink::codes;
using base::MessageIcon;

namespace {
// Bytes 1..5 of the clock answer.
constexpr size_t Hour = 1;
constexpr size_t Minute = 2;
constexpr size_t Date1 = 3;
constexpr size_t Date2 = 4;
constexpr size_t Date3 = 5;

bool shown(clink::ControllerLink& link, const clink::LinkCheckResult& check) {
    if (!check.failText.isEmpty())
        base::failBox(link.dialogs, check.failText);
    return check.ok;
}
} // namespace

bool NsmCommandSession::clearRundown() {
    // The reset line is released before the dongle is set up.
    link_.spi.ResetLineHigh();
    const clink::LinkCheckResult check = clink::LinkCheck(link_).dongleOnly(
        ids::NsmReply2, QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress);
    if (!shown(link_, check))
        return false;
    link_.state.DataCount = 0;
    const bool cleared = NsmExchange(link_).askPp(codes::NsmClearRundowns, 0).has_value();
    if (cleared)
        link_.dialogs.message(QStringLiteral("Rundown Cleared Successfully"), NsmExchange::TransferSuccessful,
                              MessageIcon::Information);
    else
        link_.dialogs.message(QStringLiteral("Nsm Clear Rundown Data Failed"), NsmExchange::ReceiveError,
                              MessageIcon::Critical);
    return cleared;
}

bool NsmCommandSession::viewTimeDate() {
    link_.spi.ResetLineHigh();
    link_.state.DataCount = 0;
    const std::optional<NsmAnswer> a = NsmExchange(link_).readClock();
    if (a)
        link_.dialogs.message(
            nsmTimeDateText((*a)[Hour], (*a)[Minute], (*a)[Date1], (*a)[Date2], (*a)[Date3]),
            NsmExchange::TransferSuccessful, MessageIcon::Information);
    return a.has_value();
}

void NsmCommandSession::viewVersion() {
    NsmExchange(link_).viewVersion();
}

bool NsmCommandSession::settingsChecked() {
    return shown(link_, NsmExchange(link_).settingsCheck());
}

bool NsmCommandSession::writeSettingsChecked() {
    return shown(link_, NsmExchange(link_).writeSettingsCheck());
}

bool NsmCommandSession::readSettings() {
    return link_.dataTx.ReadNsmSettings();
}

QStringList NsmCommandSession::takeSettingsReport() {
    return takeNsmSettingsLines(link_.state.NsmSettings);
}

} // namespace app
