#include "service/resetall.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/commandcodes.h"
#include "link/dsprevision.h"

namespace service {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
const QString DspNotReset = QStringLiteral("Dsp Not Reset - Reset Aborted");
const QString PsetsNotReset = QStringLiteral("Parameter Sets Not Reset");
const QString ReceiveError = QStringLiteral("Receive Error");
const QString LogicDongleFailed = QStringLiteral("Unable To Configure Can Dongle - Reset Aborted");
const QString ConfigurationError = QStringLiteral("Configuration Error");
const QString LogicNotReset = QStringLiteral("Reset Not Received - Reset Aborted");
const QString TransferError = QStringLiteral("Transfer Error");
const QString ToolDongleFailed = QStringLiteral("Unable To Configure Candongle");
} // namespace

bool ResetAllSession::cmdResetAll_Click(const ResetChoice& choice) {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return false;
    cancelled_ = false;
    const struct {
        bool chosen;
        ResetItem item;
        bool (ResetAllSession::*reset)();
    } steps[] = {
        {choice.dsp, ResetItem::Dsp, &ResetAllSession::resetDsp},
        {choice.psets, ResetItem::Psets, &ResetAllSession::resetPsets},
        {choice.logic, ResetItem::Logic, &ResetAllSession::resetLogic},
        {choice.toolCalibration, ResetItem::ToolCalibration, &ResetAllSession::resetToolCalibration},
    };
    for (const auto& step : steps) {
        if (!step.chosen)
            continue;
        if (cancelled_ || !(this->*step.reset)())
            break;
        emit itemDone(step.item);
    }
    return true;
}

bool ResetAllSession::resetDsp() {
    // The reset is not acknowledged: done means the frame went out, on the parallel port every time.
    if (clink::SendDspReset(ctx_.link, PpDspResets))
        return true;
    base::failBox(ctx_.dialogs, DspNotReset, base::ProgramTitle);
    return false;
}

bool ResetAllSession::controlReset(const ControlReset& reset) {
    clink::PreCheck how;
    if (!reset.dongleFailed.isEmpty())
        how.texts.parallel = reset.dongleFailed;
    if (!app::LinkGate(ctx_.link, {.parallel = reset.dongleFailedCaption}).preCheck(ids::CommandReply, how))
        return false;
    if (ctx_.link.dataTx.SendControlCommand(reset.code))
        return true;
    base::failBox(ctx_.dialogs, reset.notReset, reset.notResetCaption);
    return false;
}

bool ResetAllSession::resetPsets() {
    return controlReset({codes::ErasePsets, {}, base::ProgramTitle, PsetsNotReset, ReceiveError});
}

bool ResetAllSession::resetLogic() {
    return controlReset(
        {codes::ResetLogicDefaults, LogicDongleFailed, ConfigurationError, LogicNotReset, TransferError});
}

bool ResetAllSession::resetToolCalibration() {
    clink::PreCheck how;
    how.texts.parallel = ToolDongleFailed;
    if (!app::LinkGate(ctx_.link).preCheck(ids::ToolEepromReply, how))
        return false;
    base::NoProgress progress;
    const QString failure = app::copyToolCalibration(ctx_.link, app::ToolCalibrationReset, progress);
    if (failure.isEmpty())
        return true;
    base::failBox(ctx_.dialogs, failure, base::ProgramTitle);
    return false;
}

} // namespace service
