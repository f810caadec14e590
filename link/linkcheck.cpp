#include "link/linkcheck.h"

#include "base/eventpump.h"
#include "base/failbox.h"
#include "link/controllerlink.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
// The USB dongle's answer code for the tool data frame.
constexpr int ToolDataCode = 0xD1;
// DoEvents after the transducer's first presence frame.
constexpr long PresenceFrameYields = 2;

const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
const QString TransducerSilent = QStringLiteral("External Transducer Not Communicating");

LinkCheckResult failed(const QString& text) {
    return {false, text};
}
} // namespace

bool LinkCheck::linkChosen() const {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
    case TcpIp:
    case Usb:
        return true;
    default:
        return false;
    }
}

LinkCheckResult LinkCheck::preCheck(CanId awaited, const PreCheck& how) {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(awaited) ? LinkCheckResult{} : failed(how.texts.parallel);
    case TcpIp: {
        const bool ok = how.ethernet == EthernetCheck::ConnectedOnly
                            ? link_.ethernet.line().isConnected()
                            : link_.ethernet.SendFilterFrame(awaited);
        if (!ok)
            return {how.ethernetGoesOnAfterFailure, how.texts.ethernet};
        if (how.ethernetConnectFilter)
            link_.ethernet.SendFilterFrame(ids::ConnectFilter);
        if (how.ethernetSettle > 0)
            link_.pump.pause(how.ethernetSettle);
        return {};
    }
    case Usb:
        return usbFilterFrame(awaited, how.usb) ? LinkCheckResult{} : failed(how.texts.usb);
    default:
        return {}; // no link chosen: the transaction fails by itself
    }
}

bool LinkCheck::dongleReadyToSend(CanId awaited) {
    if (link_.state.ConnectionType != ParallelPort)
        return true;
    return link_.dataTx.CheckNormalMode() || link_.dataTx.ConfigureCanDongle(awaited);
}

bool LinkCheck::editorOpens() {
    bool connected = true;
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        link_.spi.InitializePort();
        break;
    case TcpIp:
        connected = link_.ethernet.line().isConnected();
        break;
    default:
        break;
    }
    link_.state.PortShadow = 0;
    return connected;
}

LinkCheckResult LinkCheck::dongleOnly(CanId awaited, const QString& failText) {
    return link_.dataTx.ConfigureCanDongle(awaited) ? LinkCheckResult{} : failed(failText);
}

bool LinkCheck::usbFilterFrame(CanId awaited, UsbCheck variant) {
    if (link_.usb.SendFilterFrame(awaited))
        return true;
    // The reopen variant goes on without sending the filter frame again.
    return variant == UsbCheck::Reopen && link_.usb.ReopenDevice();
}

LinkCheckResult LinkCheck::toolDataCheck(int ethernetCode) {
    const LinkFailTexts texts;
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(ids::ToolReply) ? LinkCheckResult{} : failed(texts.parallel);
    case TcpIp:
        if (!link_.ethernet.SendCanFrame(ids::ToolReply, ids::ToolReply, {ethernetCode, 0, 0, 0, 0, 0, 0, 0}))
            return failed(texts.ethernet);
        link_.ethernet.SendFilterFrame(ids::ConnectFilter);
        return {};
    case Usb:
        return link_.usb.SendCanFrame(ids::ToolReply, ids::ToolReply, {ToolDataCode, 0}, {})
                   ? LinkCheckResult{}
                   : failed(texts.usb);
    default:
        return {};
    }
}

LinkCheck::Chosen LinkCheck::chosen() const {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return Chosen::ParallelPort;
    case TcpIp:
        return Chosen::Ethernet;
    default:
        return Chosen::Other;
    }
}

void LinkCheck::restParallelPort() {
    if (link_.state.ConnectionType == ParallelPort)
        link_.spi.InitializePort();
}

LinkCheckResult LinkCheck::transducerCheck() {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(ids::TransducerReply) ? LinkCheckResult{}
                                                                     : failed(CandongleFailed);
    case TcpIp:
        if (!link_.ethernet.line().isConnected())
            return failed(LinkFailTexts().ethernet);
        return transducerPresent();
    default:
        return {}; // the first read fails by itself
    }
}

LinkCheckResult LinkCheck::transducerPresent() {
    LinkState& s = link_.state;
    Transaction tx(link_);
    // In place before the first frame, so that its answer, however soon it comes, arms the reply handler.
    // Each zero-data frame on the identifier draws an answer: they are the check's requests. The answer
    // carries nothing of them, so a late one from an earlier check would pass for the transducer's: the
    // check first waits for the line to be quiet there.
    link_.ethernet.expect({.id = ids::TransducerReply2, .quietFirst = true});
    if (link_.ethernet.SendRequestFrame(ids::TransducerReply2, ids::TransducerReply2, {}))
        link_.pump.pause(PresenceFrameYields);
    SharedWaitBudget budget(link_.pump, TransducerPresencePolls, 1);
    for (int sends = 0; sends < TransducerPresenceSends && !s.ReplyReady && !tx.over(); ++sends) {
        // A frame that cannot be sent: the connection is gone.
        if (!link_.ethernet.SendRequestFrame(ids::TransducerReply2, ids::TransducerReply2, {}))
            return failed(LinkFailTexts().ethernet);
        budget.wait([&] { return s.ReplyReady; });
    }
    return s.ReplyReady ? LinkCheckResult{} : failed(TransducerSilent);
}

bool LinkCheck::passed(const LinkCheckResult& check) const {
    return passed(check, link_.dialogs, base::ProgramTitle);
}

bool LinkCheck::passed(const LinkCheckResult& check, base::Dialogs& dialogs, const QString& caption) const {
    if (!check.failText.isEmpty())
        base::failBox(dialogs, check.failText, caption);
    return check.ok;
}

} // namespace clink
