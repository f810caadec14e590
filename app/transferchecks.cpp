#include "app/transferchecks.h"

#include "app/linkgate.h"
#include "app/transferlinkcheck.h"
#include "link/canid.h"
#include "link/controllerlink.h"

namespace app {

std::optional<TransferResult> TransferChecks::checkLink(const TransferLinkCheck& how) {
    clink::PreCheck check;
    check.texts = how.texts;
    check.ethernetGoesOnAfterFailure = how.ethernetGoesOn;
    const clink::LinkCheckResult result = clink::LinkCheck(link_).preCheck(clink::ids::CommandReply, check);
    if (result.failText.isEmpty())
        return std::nullopt;
    const clink::LinkCheck gate(link_);
    // The device is set up again for the next command, whether this one goes on or not.
    if (gate.forLink(false, false, how.usbReopens))
        link_.usb.ReopenDevice();
    // The report says which connection is missing before the box.
    const QString line =
        gate.forLink(how.reportLines.parallel, how.reportLines.ethernet, how.reportLines.usb);
    if (report_ && !line.isEmpty())
        report_->addLine(line);
    LinkGate(link_, dialogs_, {how.parallelCaption, how.ethernetCaption}).passed(result);
    if (report_ && gate.forLink(how.parallelHidesReport, false, false))
        report_->HideTransferPanel();
    if (result.ok || gate.forLink(false, false, how.usbGoesOn))
        return std::nullopt;
    return TransferResult{TransferOutcome::LinkFailed, result.failText};
}

TransferResult TransferChecks::report(TransferOutcome outcome, const QString& text, const QString& caption,
                                      base::MessageIcon icon) {
    dialogs_.message(text, caption, icon);
    return {outcome, text};
}

TransferResult TransferChecks::controlCommand(int code, const CommandBoxes& boxes) {
    if (!link_.dataTx.SendControlCommand(code))
        return report(TransferOutcome::Aborted, boxes.failed, boxes.failedCaption);
    return report(TransferOutcome::Done, boxes.done, TransferSuccessfulCaption,
                  base::MessageIcon::Information);
}

} // namespace app
