#include "link/nsmexchange.h"

#include "base/dialogs.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"

namespace clink {

using base::MessageIcon;

namespace {
const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");

// Answer bytes after the code: the clock's five (hour, minute, three date fields), the version's two.
constexpr int ClockBytes = 5;
constexpr int VersionBytes = 2;
constexpr size_t MajorByte = 1;
constexpr size_t MinorByte = 2;

std::array<int, 8> request(int code) {
    return {code, 0, 0, 0, 0, 0, 0, 0};
}

LinkCheckResult failed(const QString& text) {
    return {false, text};
}
} // namespace

QString nsmVersionText(int major, int minor, bool ethernet) {
    return (ethernet ? QStringLiteral("Nsm Version : ") : QStringLiteral("Nsm Version ")) +
           QString::number(major) + u'.' + QString::number(minor);
}

bool NsmExchange::dongleFor(CanId awaited, const QString& failText) {
    LinkCheck check(link_);
    return check.passed(check.dongleOnly(awaited, failText));
}

std::optional<NsmAnswer> NsmExchange::askPp(int code, int bytes) {
    Transaction tx(link_);
    PpExchange pp(link_);
    NsmAnswer answer{};
    const bool taken = pp.run(
        {.request = CanMessage{ids::NsmRequest, request(code)}, .passes = PpRequests, .polls = PpPolls},
        [&](PpRxMessage& m) {
            if (!m.bytesAre({code}))
                return false;
            answer[0] = code;
            for (int i = 1; i <= bytes; ++i)
                answer[size_t(i)] = m.byte(i);
            return true;
        });
    return taken ? std::optional(answer) : std::nullopt;
}

std::optional<NsmAnswer> NsmExchange::askUsb(int code) {
    Transaction tx(link_);
    NsmAnswer answer{};
    const bool taken = link_.usb.Transact({ids::NsmReply, ids::NsmRequest, {code, 0}, request(code)},
                                          USB::UsualTries, [&](const UsbRxArray& rx) {
                                              if (rx[0] != code)
                                                  return UsbReply::Retry;
                                              std::copy_n(rx.begin(), answer.size(), answer.begin());
                                              return UsbReply::Taken;
                                          });
    return taken ? std::optional(answer) : std::nullopt;
}

LinkCheckResult NsmExchange::present(SharedWaitBudget& budget, int& sends) {
    LinkState& s = link_.state;
    if (!link_.ethernet.line().isConnected())
        return failed(LinkFailTexts().ethernet);
    // In place before the first frame, so that its answer, however soon it comes, arms the reply handler.
    // The unit answers each zero-data frame on its reply identifier with its clock: they are requests. Its
    // answer carries nothing of them, so a late one from an earlier exchange would pass for the unit's: the
    // check first waits for the line to be quiet there.
    link_.ethernet.expect({.id = ids::NsmReply, .code = codes::NsmClock, .quietFirst = true});
    link_.ethernet.SendRequestFrame(ids::NsmReply, ids::NsmReply, {});
    // A frame that cannot be sent counts as one of the tries.
    for (sends = 0; sends < EthernetSends && !s.ReplyReady && !link_.transactions.over(); ++sends) {
        if (link_.ethernet.SendRequestFrame(ids::NsmReply, ids::NsmReply, {}))
            budget.wait([&] { return s.ReplyReady; });
    }
    return s.ReplyReady ? LinkCheckResult{} : failed(NotCommunicating);
}

void NsmExchange::expectAfterPresence(int code, bool quietFirst) {
    LinkState& s = link_.state;
    const bool armed = s.AckReceived;
    link_.ethernet.expect({.id = ids::NsmReply, .code = code, .quietFirst = quietFirst});
    s.AckReceived = armed;
}

std::optional<NsmAnswer> NsmExchange::readClock() {
    link_.spi.ResetLineHigh();
    link_.state.DataCount = 0;
    std::optional<NsmAnswer> answer;
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        if (!dongleFor(ids::NsmReply, CandongleFailed))
            return std::nullopt;
        answer = askPp(codes::NsmClock, ClockBytes);
        break;
    case Usb:
        answer = askUsb(codes::NsmClock);
        break;
    case TcpIp:
        return readClockEthernet();
    default:
        break;
    }
    if (!answer)
        link_.dialogs.message(QStringLiteral("Nsm View Time/Date Failed"), ReceiveError,
                              MessageIcon::Critical);
    return answer;
}

std::optional<NsmAnswer> NsmExchange::readClockEthernet() {
    LinkState& s = link_.state;
    Transaction tx(link_);
    SharedWaitBudget budget(link_.pump, PresenceBudget, 1);
    int sends = 0;
    if (!LinkCheck(link_).passed(present(budget, sends)))
        return std::nullopt;
    // The clock is taken from an answer to the requests below; the presence check's answer has armed the
    // reply handler, so their first answer is taken. The clock carries nothing of the request: the read
    // first lets the presence check's answers and their copies come and go.
    expectAfterPresence(codes::NsmClock, true);
    link_.ethernet.SendRequestFrame(ids::NsmReply, ids::NsmReply, {});
    s.ReplyReady = false;
    for (; sends < EthernetSends && !s.ReplyReady && !tx.over(); ++sends) {
        if (link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, request(codes::NsmClock)))
            budget.wait([&] { return s.ReplyReady; });
    }
    if (!s.ReplyReady) {
        link_.dialogs.message(QStringLiteral("Information Not Processed"),
                              QStringLiteral("Transfer UnSuccessful"), MessageIcon::Information);
        return std::nullopt;
    }
    const auto& rd = s.RequestData;
    return NsmAnswer{codes::NsmClock, rd[1], rd[2], rd[3], rd[4], rd[5]};
}

void NsmExchange::viewVersion() {
    std::optional<NsmAnswer> answer;
    QString caption = base::ProgramTitle;
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        if (!dongleFor(ids::NsmReply, CandongleFailed))
            return;
        answer = askPp(codes::NsmVersion, VersionBytes);
        caption = QStringLiteral("NSM View Version");
        break;
    case Usb:
        answer = askUsb(codes::NsmVersion);
        break;
    case TcpIp:
        return viewVersionEthernet();
    default:
        break;
    }
    if (answer)
        link_.dialogs.message(nsmVersionText((*answer)[MajorByte], (*answer)[MinorByte], false), caption,
                              MessageIcon::Information);
    else
        link_.dialogs.message(QStringLiteral("Nsm View Version Failed"), ReceiveError, MessageIcon::Critical);
}

void NsmExchange::viewVersionEthernet() {
    LinkState& s = link_.state;
    Transaction tx(link_);
    {
        SharedWaitBudget presence(link_.pump, PresenceBudget, 1);
        int sends = 0;
        if (!LinkCheck(link_).passed(present(presence, sends)))
            return;
    }
    // The clock answers of the presence check may still come: only the version answers this, from before
    // the filter frame and its pause on.
    expectAfterPresence(codes::NsmVersion, false);
    if (link_.ethernet.SendFilterFrame(ids::NsmReply))
        link_.pump.pause(VersionFilterPause);
    s.ReplyReady = false;
    SharedWaitBudget budget(link_.pump, VersionBudget, 1);
    // The requests end with the wait budget: without it each one would only add the frame's own wait.
    for (long n = 0; n < VersionRequests && !s.ReplyReady && !budget.spent() && !tx.over(); ++n) {
        if (!link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, request(codes::NsmVersion)))
            break; // the connection is gone
        budget.wait([&] { return s.ReplyReady; });
    }
    if (s.ReplyReady)
        link_.dialogs.message(nsmVersionText(s.RequestData[1], s.RequestData[2], true), base::ProgramTitle,
                              MessageIcon::Information);
    else
        link_.dialogs.message(QStringLiteral("Nsm View Version"), ReceiveError, MessageIcon::Critical);
}

LinkCheckResult NsmExchange::settingsCheck() {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(ids::NsmReply) ? LinkCheckResult{} : failed(CandongleFailed);
    case TcpIp: {
        Transaction tx(link_);
        SharedWaitBudget budget(link_.pump, PresenceBudget, 1);
        int sends = 0;
        return present(budget, sends);
    }
    case Usb:
        if (link_.usb.SendFilterFrame(ids::NsmReply))
            return {};
        link_.usb.ReopenDevice();
        return failed(NotCommunicating);
    default:
        return {};
    }
}

LinkCheckResult NsmExchange::writeSettingsCheck() {
    const LinkFailTexts texts;
    switch (link_.state.ConnectionType) {
    case Usb:
        if (link_.usb.SendFilterFrame(ids::NsmReply))
            return {};
        link_.usb.ReopenDevice();
        return failed(texts.usb);
    case TcpIp:
        return link_.ethernet.line().isConnected() ? LinkCheckResult{} : failed(texts.ethernet);
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(ids::NsmReply)
                   ? LinkCheckResult{}
                   : failed(QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress);
    default:
        return {};
    }
}

NsmExchange::RundownClear NsmExchange::clearRundowns() {
    // The reset line is released before the dongle is set up.
    link_.spi.ResetLineHigh();
    if (!dongleFor(ids::NsmReply2, QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress))
        return RundownClear::LinkFailed;
    link_.state.DataCount = 0;
    return askPp(codes::NsmClearRundowns, 0) ? RundownClear::Cleared : RundownClear::NotCleared;
}

NsmExchange::SettingWrite NsmExchange::writeSetting(int item, int value) {
    if (link_.dataTx.WriteNsmSettings(item, value))
        return SettingWrite::Written;
    return link_.state.ConnectionType == ParallelPort ? SettingWrite::FailureShown : SettingWrite::NotWritten;
}

} // namespace clink
