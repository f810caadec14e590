#include "logicio/logictransfer.h"

#include "app/appservices.h"
#include "app/transferlinkcheck.h"
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/programreceive.h"
#include "link/programsend.h"
#include "logicio/logiceditor.h"

namespace logicio {

namespace codes = clink::codes;
using app::TransferOutcome;
using app::TransferResult;

namespace {

// The editor's bar back at 0 on every way out of a command.
class ProgressReset {
public:
    explicit ProgressReset(base::Progress& progress) : progress_(progress) {}
    ~ProgressReset() { progress_.setValue(0); }
    ProgressReset(const ProgressReset&) = delete;
    ProgressReset& operator=(const ProgressReset&) = delete;

private:
    base::Progress& progress_;
};

} // namespace

clink::BlockReceiveCounts rungTableReceiveCounts(long transferDelay) {
    return clink::BlockReceiveCounts::rungTableEditors(transferDelay);
}

LogicTransfer::LogicTransfer(clink::ControllerLink& link, base::Dialogs& dialogs, LogicEditor& editor)
    : link_(link), dialogs_(dialogs), checks_(link, dialogs), editor_(editor) {}

LogicTransfer::LogicTransfer(app::AppServices& services, LogicEditor& editor)
    : LogicTransfer(services.link, services.dialogs, editor) {}

std::optional<TransferResult> LogicTransfer::checkControllerType(int& type) {
    type = link_.dataTx.SendSystemCommand();
    if (type >= editor_.version().minimumControllerType)
        return std::nullopt;
    return checks_.report(TransferOutcome::WrongControllerType, IncorrectVersionText, TransferErrorCaption);
}

TransferResult LogicTransfer::send(base::Progress& progress) {
    ProgressReset reset(progress);
    if (auto ended = checks_.checkLink(
            {.texts = SendLinkTexts, .parallelCaption = base::ProgramTitle, .ethernetGoesOn = true}))
        return *ended;
    int type = 0;
    if (auto ended = checkControllerType(type))
        return *ended;
    const LogicVersion& version = editor_.version();
    // The image stays in the buffer after the send, also when the user declines.
    clink::ProgramSend programSend(link_);
    const LogicImage image = editor_.encodeForSend();
    programSend.load(image.sentWords(version.variant));
    if (!dialogs_.askYesNoWithoutIcon(SendQuestion, SendCaption))
        return {TransferOutcome::Declined, {}};

    if (!programSend.logicBlocks(version.blocks, progress))
        return checks_.report(TransferOutcome::Aborted, NotSentText, TransmitErrorCaption);
    return checks_.controlCommand(codes::RestartLogic, {SentText, RestartFailedText, TransferErrorCaption});
}

TransferResult LogicTransfer::receive(base::Progress& progress) {
    ProgressReset reset(progress);
    if (auto ended = checks_.checkLink({.texts = ReceiveLinkTexts,
                                        .parallelCaption = base::ProgramTitle,
                                        .ethernetGoesOn = true,
                                        .usbGoesOn = true}))
        return *ended;
    int type = 0;
    if (auto ended = checkControllerType(type))
        return *ended;
    if (!dialogs_.askYesNoWithoutIcon(ReceiveQuestion, ReceiveCaption))
        return {TransferOutcome::Declined, {}};

    // The user has agreed to lose the rungs: they stay cleared when the read fails.
    editor_.newProgram();
    const LogicVersion& version = editor_.version();
    if (!clink::ProgramReceive(link_).rungTables(version.blocks, progress)) {
        progress.setValue(0);
        return checks_.report(TransferOutcome::Aborted, NotReceivedText, ReceiveErrorCaption);
    }
    editor_.decodeReceived(LogicImage::fromDataBuffer(link_.state.DataBuffer, version.variant), type);
    return {TransferOutcome::Done, {}};
}

TransferResult LogicTransfer::resetToFactoryDefaults() {
    if (!dialogs_.askYesNoWithoutIcon(DefaultsQuestion, DefaultsCaption))
        return {TransferOutcome::Declined, {}};
    if (auto ended = checks_.checkLink({.texts = DefaultsLinkTexts,
                                        .parallelCaption = ConfigurationErrorCaption,
                                        .ethernetGoesOn = true,
                                        .usbReopens = true}))
        return *ended;
    const TransferResult reset = checks_.controlCommand(
        codes::ResetLogicDefaults, {ResetDoneText, ResetFailedText, TransferErrorCaption});
    if (reset.ok())
        editor_.newProgram();
    return reset;
}

} // namespace logicio
