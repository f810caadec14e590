#include "ladder/laddertransfer.h"

#include "app/appservices.h"
#include "app/transferlinkcheck.h"
#include "link/blockreceive.h"
#include "ladder/laddereditor.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"

namespace ladder {

namespace ids = clink::ids;
namespace codes = clink::codes;
using app::TransferOutcome;
using app::TransferResult;

namespace {

// The ladder editor's counts per block of a receive.
constexpr long PpRequests = 30;
constexpr long PpLooks = 25;
constexpr long EthernetSettle = 1000;
constexpr int EthernetAttempts = 50;
constexpr long EthernetWait = 301;
constexpr int UsbExchanges = 25;

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
    return {.ppRequests = PpRequests,
            .ppLooks = PpLooks,
            .ethernetLead = clink::EthernetBlockLead::FilterFrame,
            .ethernetSettle = EthernetSettle,
            .ethernetAttempts = EthernetAttempts,
            .ethernetWait = EthernetWait,
            .usbExchanges = UsbExchanges};
}

void prepareLinkForEditor(clink::ControllerLink& link, base::Dialogs& dialogs) {
    switch (link.state.ConnectionType) {
    case clink::ParallelPort:
        link.spi.InitializePort();
        break;
    case clink::TcpIp:
        if (!link.ethernet.line().isConnected())
            dialogs.message(EditorEthernetDownText, base::ProgramTitle, base::MessageIcon::Critical);
        break;
    default:
        break;
    }
    link.state.PortShadow = 0;
}

LadderTransfer::LadderTransfer(clink::ControllerLink& link, base::Dialogs& dialogs, LadderEditor& editor)
    : link_(link), dialogs_(dialogs), checks_(link, dialogs), editor_(editor) {}

LadderTransfer::LadderTransfer(app::AppServices& services, LadderEditor& editor)
    : LadderTransfer(services.link, services.dialogs, editor) {}

QString LadderTransfer::configureAddressText(const QString& tail) const {
    return QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress + tail;
}

std::optional<TransferResult> LadderTransfer::checkControllerType() {
    const int type = link_.dataTx.SendSystemCommand();
    if (type >= LowestLadderType && type <= HighestLadderType)
        return std::nullopt;
    return checks_.report(TransferOutcome::WrongControllerType, IncorrectVersionText, TransferErrorCaption);
}

TransferResult LadderTransfer::send(base::Progress& progress) {
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
    storeLadderImage(build.image, link_.state.DataBuffer);
    editor_.setTransferTrace(build.trace);
    const int movingFrames = 1 + FramesPerRung * build.rungCount;
    progress.setRange(0, movingFrames);
    progress.setValue(0);

    if (auto ended = checks_.checkLink(linkCheck(configureAddressText(TransferFailedTail),
                                                 ConfigurationErrorCaption, EthernetDownText, true)))
        return *ended;
    int sent = 0;
    for (const LadderFrame& frame : build.frames()) {
        if (!link_.dataTx.SendPlcProgram(frame))
            return checks_.report(TransferOutcome::Aborted, NotSentText, ReceiveErrorCaption);
        if (++sent <= movingFrames)
            progress.setValue(sent);
    }
    const TransferResult restarted =
        checks_.controlCommand(codes::RestartLogic, {SentText, RestartFailedText, TransferErrorCaption});
    if (!restarted.ok())
        return restarted;
    progress.setValue(0);
    editor_.setTransferTrace({});
    return restarted;
}

TransferResult LadderTransfer::receive(base::Progress& progress) {
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
    clink::LinkState& s = link_.state;
    for (int slot = 1; slot < LadderImageSentSlots; ++slot)
        s.DataBuffer.put(slot, 0);
    s.DataCount = 0;
    if (s.ConnectionType == clink::ParallelPort && !link_.dataTx.ConfigureCanDongle(ids::CommandReply))
        return checks_.report(TransferOutcome::LinkFailed, DongleFailedText, ConfigurationErrorCaption);
    clink::BlockReceiver receiver(link_, ladderReceiveCounts());
    if (!receiver.receive(0, LastReceiveBlock, progress))
        return checks_.report(TransferOutcome::Aborted, NotReceivedText, ReceiveErrorCaption);
    progress.setValue(0);
    // The rebuild reports itself: "Logic I/O Transfer Completed", or the rung limit.
    if (!editor_.BuildRungTree(ladderImageFrom(s.DataBuffer)))
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
