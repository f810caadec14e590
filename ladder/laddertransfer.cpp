#include "ladder/laddertransfer.h"

#include "app/appservices.h"
#include "app/transferlinkcheck.h"
#include "ladder/laddereditor.h"
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/programreceive.h"
#include "link/programsend.h"

namespace ladder {

namespace codes = clink::codes;
using app::TransferOutcome;
using app::TransferResult;

namespace {

// Header and rung frames move the progress; the preset frames after them do not.
constexpr int FramesPerRung = 4;

const QString EthernetDownText = QStringLiteral("Unable to connect using ethernet");
const QString UsbDownText = QStringLiteral("Unable to connect using USB");
const QString TransferFailedTail = QStringLiteral(" - Transfer Failed");
const QString ResetAbortedTail = QStringLiteral(" - Reset Aborted");

// A link check of the ladder editor: every failure ends the command; a failed USB check may set the
// device up again first.
app::TransferLinkCheck linkCheck(const QString& parallel, const QString& parallelCaption,
                                 const QString& ethernet = EthernetDownText, bool usbReopens = false) {
    return {.texts = {.parallel = parallel, .ethernet = ethernet, .usb = UsbDownText},
            .parallelCaption = parallelCaption,
            .usbReopens = usbReopens};
}

} // namespace

clink::BlockReceiveCounts ladderReceiveCounts() {
    return clink::BlockReceiveCounts::ladderEditor();
}

void prepareLinkForEditor(clink::ControllerLink& link, base::Dialogs& dialogs) {
    if (!clink::LinkCheck(link).editorOpens())
        dialogs.message(EditorEthernetDownText, base::ProgramTitle, base::MessageIcon::Critical);
}

LadderTransfer::LadderTransfer(clink::ControllerLink& link, base::Dialogs& dialogs, LadderEditor& editor)
    : link_(link), dialogs_(dialogs), checks_(link, dialogs), editor_(editor) {}

LadderTransfer::LadderTransfer(app::AppServices& services, LadderEditor& editor)
    : LadderTransfer(services.link, services.dialogs, editor) {}

QString LadderTransfer::configureAddressText(const QString& tail) const {
    return QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress + tail;
}

void LadderTransfer::cancel() {
    cancelled_ = true;
    link_.transactions.cancel();
}

std::optional<TransferResult> LadderTransfer::checkControllerType() {
    const int type = link_.dataTx.SendSystemCommand();
    if (type >= LowestLadderType && type <= HighestLadderType)
        return std::nullopt;
    return checks_.report(TransferOutcome::WrongControllerType, IncorrectVersionText, TransferErrorCaption);
}

TransferResult LadderTransfer::send(base::Progress& progress) {
    cancelled_ = false;
    if (auto ended = checks_.checkLink(linkCheck(DongleFailedText, ConfigurationErrorCaption,
                                                 EthernetDownText + TransferFailedTail, true)))
        return *ended;
    if (auto ended = checkControllerType())
        return *ended;
    editor_.setTransferTrace({});
    if (!dialogs_.askYesNoWithoutIcon(SendQuestion, SendCaption))
        return {TransferOutcome::Declined, {}};

    const LadderImageBuild build = editor_.buildSendImage();
    if (!build.ok)
        return {TransferOutcome::Aborted, build.errorText};
    // The image stays in the buffer after the send, as every image transfer leaves it.
    clink::ProgramSend programSend(link_, ended());
    programSend.load(sentSlots(build.image));
    editor_.setTransferTrace(build.trace);
    const int movingFrames = 1 + FramesPerRung * build.rungCount;
    progress.setRange(0, movingFrames);
    progress.setValue(0);

    if (auto ended = checks_.checkLink(linkCheck(configureAddressText(TransferFailedTail),
                                                 ConfigurationErrorCaption, EthernetDownText, true)))
        return *ended;
    const bool sent = programSend.ladderFrames(build.frames(), [&](int acknowledged) {
        if (acknowledged <= movingFrames)
            progress.setValue(acknowledged);
    });
    if (!sent)
        return checks_.report(TransferOutcome::Aborted, NotSentText, ReceiveErrorCaption);
    const TransferResult restarted =
        checks_.controlCommand(codes::RestartLogic, {SentText, RestartFailedText, TransferErrorCaption});
    if (!restarted.ok())
        return restarted;
    progress.setValue(0);
    editor_.setTransferTrace({});
    return restarted;
}

TransferResult LadderTransfer::receive(base::Progress& progress) {
    cancelled_ = false;
    if (auto ended = checks_.checkLink(linkCheck(configureAddressText(), base::ProgramTitle)))
        return *ended;
    if (auto ended = checkControllerType())
        return *ended;
    // A tree of the root alone has nothing to lose.
    if (editor_.tree().count() >= 2 && !dialogs_.askYesNoWithoutIcon(ReceiveQuestion, ReceiveCaption))
        return {TransferOutcome::Declined, {}};

    // The user has agreed to lose the project: it stays the empty new project when the read fails.
    editor_.clearElementList();
    editor_.setTransferTrace({});
    editor_.newProject();
    switch (clink::ProgramReceive(link_, ended()).ladder(LadderImageSentSlots, progress)) {
    case clink::ProgramReceive::Outcome::DongleFailed:
        return checks_.report(TransferOutcome::LinkFailed, DongleFailedText, ConfigurationErrorCaption);
    case clink::ProgramReceive::Outcome::BlockMissing:
        return checks_.report(TransferOutcome::Aborted, NotReceivedText, ReceiveErrorCaption);
    case clink::ProgramReceive::Outcome::Received:
        break;
    }
    progress.setValue(0);
    // The rebuild reports itself: "Logic I/O Transfer Completed", or the rung limit.
    if (!editor_.BuildRungTree(ladderImageFrom(link_.state.DataBuffer)))
        return {TransferOutcome::Aborted, RungLimitText};
    return {TransferOutcome::Done, {}};
}

TransferResult LadderTransfer::resetToFactoryDefaults() {
    editor_.setTransferTrace({});
    if (!dialogs_.askYesNoWithoutIcon(DefaultsQuestion, DefaultsCaption))
        return {TransferOutcome::Declined, {}};
    if (auto ended = checks_.checkLink(linkCheck(configureAddressText(ResetAbortedTail),
                                                 ConfigurationErrorCaption, EthernetDownText, true)))
        return *ended;
    const TransferResult reset = checks_.controlCommand(
        codes::ResetLogicDefaults, {ResetDoneText, ResetFailedText, TransferErrorCaption});
    if (reset.ok())
        editor_.newProject();
    return reset;
}

} // namespace ladder
