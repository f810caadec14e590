#include "logicio/logictransfer.h"

#include "app/appservices.h"
#include "app/transferlinkcheck.h"
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "logicio/logiceditor.h"

namespace logicio {

namespace codes = clink::codes;
using app::TransferOutcome;
using app::TransferResult;

namespace {

// The rung-table editors' counts per block of a receive.
constexpr long PpRequestFactor = 30;
constexpr long PpLookFactor = 100;
constexpr long EthernetSettle = 100;
constexpr int EthernetAttempts = 501;
constexpr long EthernetWait = 3001;
constexpr int UsbExchanges = 1;

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
    return {.ppRequests = base::pollCount(transferDelay, PpRequestFactor),
            .ppLooks = base::pollCount(transferDelay, PpLookFactor),
            .ethernetLead = clink::EthernetBlockLead::Request,
            .ethernetSettle = EthernetSettle,
            .ethernetAttempts = EthernetAttempts,
            .ethernetWait = EthernetWait,
            .usbExchanges = UsbExchanges};
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
    clink::LinkState& s = link_.state;
    editor_.encodeForSend().copyTo(s.DataBuffer, version.variant);
    if (!dialogs_.askYesNoWithoutIcon(SendQuestion, SendCaption))
        return {TransferOutcome::Declined, {}};

    s.DataCount = 0;
    progress.setRange(0, version.blocks);
    progress.setValue(0);
    for (int block = 1; block <= version.blocks; ++block) {
        if (!link_.dataTx.SendLogicIoProgram(block))
            return checks_.report(TransferOutcome::Aborted, NotSentText, TransmitErrorCaption);
        progress.setValue(block);
    }
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
    clink::LinkState& s = link_.state;
    clink::BlockReceiver receiver(link_, rungTableReceiveCounts(s.TransferDelay));
    if (!receiver.receive(1, version.blocks, progress)) {
        progress.setValue(0);
        return checks_.report(TransferOutcome::Aborted, NotReceivedText, ReceiveErrorCaption);
    }
    editor_.decodeReceived(LogicImage::fromDataBuffer(s.DataBuffer, version.variant), type);
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
