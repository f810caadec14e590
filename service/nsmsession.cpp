#include "service/nsmsession.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/nsmclock.h"
#include "link/nsmexchange.h"

#include <QStringList>

namespace service {

namespace {
const QStringList Captions = {
    QString(),
    QStringLiteral("Rev Tq Check (Deadman Mode Only)"),
    QStringLiteral("Number Of Retries (Latch Mode Only)"),
    QStringLiteral("Retry Reverse Timer"),
    QStringLiteral("Number Of Spindles"),
    QStringLiteral("Button Latch Timer (Latch Mode Only)"),
    QStringLiteral("System Type"),
    QStringLiteral("Collect Data"),
    QStringLiteral("Run Commands"),
    QStringLiteral("Time / Date"),
};
// The NsmSettings element of each item 1..8 (items 7 and 8 are swapped there).
constexpr std::array<int, NsmSession::Settings + 1> Elements = {-1, 0, 1, 2, 3, 4, 5, 7, 6};
// The latch timer reaches NsmSettings as soon as it changes.
constexpr int LatchItem = 5;

const QString WriteCaption = QStringLiteral("Write Nsm Data");

bool isSetting(int item) {
    return item >= 1 && item <= NsmSession::Settings;
}
} // namespace

QString NsmSession::caption(int item) {
    return item >= 1 && item <= ClockItem ? Captions[item] : QString();
}

bool NsmSession::isChoice(int item) {
    return item == 1 || item == 6 || item == 7 || item == 8;
}

int NsmSession::element(int item) {
    return isSetting(item) ? Elements[size_t(item)] : -1;
}

NsmSession::NsmSession(app::AppServices& ctx) : ctx_(ctx) {
    for (int item = 1; item <= Settings; ++item)
        fields_[size_t(item)] = ctx_.state.NsmSettings.items[size_t(element(item))].value;
}

bool NsmSession::Form_Load() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return false;
    if (const std::optional<clink::NsmClockFields> read = clink::NsmClockExchange(ctx_.link).read()) {
        clock = NsmClock::fromFields(*read);
        clockRead_ = true;
    }
    return true;
}

int NsmSession::value(int item) const {
    if (!isSetting(item))
        return 0;
    if (isChoice(item))
        return ctx_.state.NsmSettings.items[size_t(element(item))].value;
    return fields_[size_t(item)];
}

void NsmSession::setValue(int item, int value) {
    if (!isSetting(item))
        return;
    fields_[size_t(item)] = value;
    if (isChoice(item) || item == LatchItem)
        ctx_.state.NsmSettings.items[size_t(element(item))].value = int16_t(value);
}

bool NsmSession::Write_Click(int item) {
    if (!isSetting(item) && item != ClockItem)
        return false;
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return false;
    if (item == ClockItem) {
        clink::NsmClockExchange(ctx_.link).set(clock.fields());
        return true;
    }
    switch (clink::NsmExchange(ctx_.link).writeSetting(item, value(item))) {
    case clink::NsmExchange::SettingWrite::Written:
        // The caption runs straight into the confirmation.
        ctx_.dialogs.message(caption(item) + QStringLiteral("Written Successfully"), WriteCaption,
                             base::MessageIcon::Information);
        break;
    case clink::NsmExchange::SettingWrite::NotWritten:
        // A failure the link has not shown is told here.
        ctx_.dialogs.message(caption(item) + QStringLiteral(" Not Written"), WriteCaption,
                             base::MessageIcon::Critical);
        break;
    case clink::NsmExchange::SettingWrite::FailureShown:
        break;
    }
    return true;
}

bool NsmSession::Send_NsmTimeDate2() {
    base::BusyGuard busy(ctx_.busy);
    return busy.acquired() && clink::NsmClockExchange(ctx_.link).set(clock.fields());
}

} // namespace service
