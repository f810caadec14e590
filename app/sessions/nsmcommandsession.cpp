#include "app/sessions/nsmcommandsession.h"

#include "app/linkgate.h"
#include "app/nsmtexts.h"
#include "base/dialogs.h"
#include "link/datatx.h"
#include "link/nsmexchange.h"

namespace app {

using base::MessageIcon;
using clink::NsmAnswer;
using clink::NsmExchange;

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
    const NsmExchange::RundownClear clear = NsmExchange(link()).clearRundowns();
    if (clear == NsmExchange::RundownClear::LinkFailed)
        return false;
    const bool cleared = clear == NsmExchange::RundownClear::Cleared;
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
