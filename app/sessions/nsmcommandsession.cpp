#include "app/sessions/nsmcommandsession.h"

#include "app/linkgate.h"
#include "app/nsmexchange.h"
#include "app/nsmtexts.h"
#include "base/dialogs.h"
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
} // namespace

bool NsmCommandSession::mnuNsmClearRundown() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    // The reset line is released before the dongle is set up.
    link().spi.ResetLineHigh();
    if (!linkGate().dongleOnly(ids::NsmReply2,
                               QStringLiteral("Unable To Configure ") + state().ControllerIpAddress))
        return false;
    state().DataCount = 0;
    const bool cleared = NsmExchange(link()).askPp(codes::NsmClearRundowns, 0).has_value();
    if (cleared)
        dialogs().message(QStringLiteral("Rundown Cleared Successfully"), NsmExchange::TransferSuccessful,
                          MessageIcon::Information);
    else
        dialogs().message(QStringLiteral("Nsm Clear Rundown Data Failed"), NsmExchange::ReceiveError,
                          MessageIcon::Critical);
    return cleared;
}

bool NsmCommandSession::mnuNsmViewTimeDate() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    link().spi.ResetLineHigh();
    state().DataCount = 0;
    const std::optional<NsmAnswer> a = NsmExchange(link()).readClock();
    if (a)
        dialogs().message(nsmTimeDateText((*a)[Hour], (*a)[Minute], (*a)[Date1], (*a)[Date2], (*a)[Date3]),
                          NsmExchange::TransferSuccessful, MessageIcon::Information);
    return a.has_value();
}

void NsmCommandSession::MnuNsmViewVersion() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    NsmExchange(link()).viewVersion();
}

ReportLines NsmCommandSession::mnuNsmViewSettings() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!linkGate().passed(NsmExchange(link()).settingsCheck()) || !dataTx().ReadNsmSettings())
        return {};
    return takeNsmSettingsLines(state().NsmSettings);
}

bool NsmCommandSession::mnuNsmWriteSettings() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    return linkGate().passed(NsmExchange(link()).writeSettingsCheck()) && dataTx().ReadNsmSettings();
}

} // namespace app
