#include "app/commands/nsmcommands.h"

#include "app/ui/appcontext.h"
#include "app/nsmtexts.h"
#include "base/dialogs.h"
#include "link/commandcodes.h"
#include "link/ppexchange.h"

namespace app {

namespace ids = clink::ids;
namespace codes = clink::codes;
using base::MessageIcon;

namespace {
const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
const QString EthernetFailed = LinkFailTexts{}.ethernet;
const QString UsbFailed = LinkFailTexts{}.usb;
const QString NotCommunicating = QStringLiteral("NSM Not Communicating");
const QString TransferSuccessful = QStringLiteral("Transfer Successful");
const QString ReceiveError = QStringLiteral("Receive Error");

// Answer bytes after the code: the clock's five (hour, minute, three date fields), the version's two.
constexpr int ClockBytes = 5;
constexpr int VersionBytes = 2;
constexpr size_t MajorByte = 1;
constexpr size_t MinorByte = 2;

std::array<int, 8> request(int code) {
    return {code, 0, 0, 0, 0, 0, 0, 0};
}
} // namespace

void NsmCommands::bind() {
    frame.onMenu(QStringLiteral("mnuNsmClearRundown"), [this] { mnuNsmClearRundown_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewTimeDate"), [this] { mnuNsmViewTimeDate_Click(); });
    frame.onMenu(QStringLiteral("MnuNsmViewVersion"), [this] { MnuNsmViewVersion_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmRundowns"), [this] { mnuNsmRundowns_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmViewSettings"), [this] { mnuNsmViewSettings_Click(); });
    frame.onMenu(QStringLiteral("mnuNsmWriteSettings"), [this] { mnuNsmWriteSettings_Click(); });
}

std::optional<NsmCommands::Answer> NsmCommands::askPp(int code, int bytes) {
    clink::PpExchange pp(frame.ctx.link);
    Answer answer{};
    const bool taken = pp.run({.request = clink::CanMessage{ids::NsmRequest, request(code)},
                               .passes = PpRequests,
                               .polls = PpPolls},
                              [&](clink::PpRxMessage& m) {
                                  if (!m.bytesAre({code}))
                                      return false;
                                  answer[0] = code;
                                  for (int i = 1; i <= bytes; ++i)
                                      answer[size_t(i)] = m.byte(i);
                                  return true;
                              });
    return taken ? std::optional(answer) : std::nullopt;
}

std::optional<NsmCommands::Answer> NsmCommands::askUsb(int code) {
    Answer answer{};
    const bool taken = frame.ctx.link.usb.Transact({ids::NsmReply, ids::NsmRequest, {code, 0}, request(code)},
                                                   clink::USB::UsualTries, [&](const clink::UsbRxArray& rx) {
                                                       if (rx[0] != code)
                                                           return clink::UsbReply::Retry;
                                                       std::copy_n(rx.begin(), answer.size(), answer.begin());
                                                       return clink::UsbReply::Taken;
                                                   });
    return taken ? std::optional(answer) : std::nullopt;
}

bool NsmCommands::nsmPresent(clink::SharedWaitBudget& budget, int& sends) {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    if (!link.socket.isConnected()) {
        frame.failBox(EthernetFailed);
        return false;
    }
    // Cleared before the first frame, so that its answer, however soon it comes, arms the reply handler.
    s.ReplyReady = false;
    s.RequestData[1] = s.RequestData[2] = s.RequestData[3] = 0;
    s.AckReceived = false;
    link.ethernet.SendFilterFrame(ids::NsmReply);
    // A frame that cannot be sent counts as one of the tries.
    for (sends = 0; sends < EthernetSends && !s.ReplyReady; ++sends) {
        if (link.ethernet.SendFilterFrame(ids::NsmReply))
            budget.wait([&] { return s.ReplyReady; });
    }
    if (!s.ReplyReady) {
        frame.failBox(NotCommunicating);
        return false;
    }
    return true;
}

void NsmCommands::showTimeDate(const Answer& a) {
    frame.dialogs().message(nsmTimeDateText(a[1], a[2], a[3], a[4], a[5]), TransferSuccessful,
                            MessageIcon::Information);
}

void NsmCommands::mnuNsmClearRundown_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    auto busy = frame.busy();
    if (!busy)
        return;
    link.spi.ResetLineHigh();
    if (!frame.dongleOnlyPreCheck(ids::NsmReply2,
                                  QStringLiteral("Unable To Configure ") + frame.state().ControllerIpAddress))
        return;
    frame.state().DataCount = 0;
    // Parallel-port steps whatever the link: off the parallel port no answer can be read.
    if (askPp(codes::NsmClearRundowns, 0))
        frame.dialogs().message(QStringLiteral("Rundown Cleared Successfully"), TransferSuccessful,
                                MessageIcon::Information);
    else
        frame.dialogs().message(QStringLiteral("Nsm Clear Rundown Data Failed"), ReceiveError,
                                MessageIcon::Critical);
}

void NsmCommands::mnuNsmViewTimeDate_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    link.spi.ResetLineHigh();
    s.DataCount = 0;
    std::optional<Answer> answer;
    switch (s.ConnectionType) {
    case clink::ParallelPort:
        if (!link.dataTx.ConfigureCanDongle(ids::NsmReply))
            return frame.failBox(CandongleFailed);
        answer = askPp(codes::NsmClock, ClockBytes);
        break;
    case clink::Usb:
        answer = askUsb(codes::NsmClock);
        break;
    case clink::TcpIp:
        return viewTimeDateEthernet();
    default:
        break;
    }
    if (answer)
        showTimeDate(*answer);
    else
        frame.dialogs().message(QStringLiteral("Nsm View Time/Date Failed"), ReceiveError,
                                MessageIcon::Critical);
}

void NsmCommands::viewTimeDateEthernet() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    clink::SharedWaitBudget budget(link.pump, PresenceBudget, 1);
    int sends = 0;
    if (!nsmPresent(budget, sends))
        return;
    link.ethernet.SendFilterFrame(ids::NsmReply);
    s.ReplyReady = false;
    s.RequestData[1] = s.RequestData[2] = s.RequestData[3] = 0;
    for (; sends < EthernetSends && !s.ReplyReady; ++sends) {
        if (link.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, request(codes::NsmClock)))
            budget.wait([&] { return s.ReplyReady; });
    }
    if (!s.ReplyReady) {
        frame.dialogs().message(QStringLiteral("Information Not Processed"),
                                QStringLiteral("Transfer UnSuccessful"), MessageIcon::Information);
        return;
    }
    const auto& rd = s.RequestData;
    showTimeDate({codes::NsmClock, rd[1], rd[2], rd[3], rd[4], rd[5]});
}

void NsmCommands::MnuNsmViewVersion_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    std::optional<Answer> answer;
    QString caption = base::ProgramTitle;
    switch (s.ConnectionType) {
    case clink::ParallelPort:
        if (!link.dataTx.ConfigureCanDongle(ids::NsmReply))
            return frame.failBox(CandongleFailed);
        answer = askPp(codes::NsmVersion, VersionBytes);
        caption = QStringLiteral("NSM View Version");
        break;
    case clink::Usb:
        answer = askUsb(codes::NsmVersion);
        break;
    case clink::TcpIp:
        return viewVersionEthernet();
    default:
        break;
    }
    if (answer)
        frame.dialogs().message(nsmVersionText((*answer)[MajorByte], (*answer)[MinorByte], false), caption,
                                MessageIcon::Information);
    else
        frame.dialogs().message(QStringLiteral("Nsm View Version Failed"), ReceiveError,
                                MessageIcon::Critical);
}

void NsmCommands::viewVersionEthernet() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    {
        clink::SharedWaitBudget presence(link.pump, PresenceBudget, 1);
        int sends = 0;
        if (!nsmPresent(presence, sends))
            return;
    }
    if (link.ethernet.SendFilterFrame(ids::NsmReply))
        link.pump.pause(VersionFilterPause);
    s.ReplyReady = false;
    s.RequestData[1] = s.RequestData[2] = 0;
    clink::SharedWaitBudget budget(link.pump, VersionBudget, 1);
    // The requests end with the wait budget: without it each one would only add the frame's own wait.
    for (long n = 0; n < VersionRequests && !s.ReplyReady && !budget.spent(); ++n) {
        if (!link.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, request(codes::NsmVersion)))
            break; // the connection is gone
        budget.wait([&] { return s.ReplyReady; });
    }
    if (s.ReplyReady)
        frame.dialogs().message(nsmVersionText(s.RequestData[1], s.RequestData[2], true), base::ProgramTitle,
                                MessageIcon::Information);
    else
        frame.dialogs().message(QStringLiteral("Nsm View Version"), ReceiveError, MessageIcon::Critical);
}

void NsmCommands::mnuNsmRundowns_Click() {
    frame.ctx.windows.open(wnd::frmLogData);
}

void NsmCommands::mnuNsmViewSettings_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    switch (s.ConnectionType) {
    case clink::ParallelPort:
        if (!link.dataTx.ConfigureCanDongle(ids::NsmReply))
            return frame.failBox(CandongleFailed);
        break;
    case clink::TcpIp: {
        clink::SharedWaitBudget budget(link.pump, PresenceBudget, 1);
        int sends = 0;
        if (!nsmPresent(budget, sends))
            return;
        break;
    }
    case clink::Usb:
        if (!link.usb.SendFilterFrame(ids::NsmReply)) {
            link.usb.ReopenDevice();
            return frame.failBox(NotCommunicating);
        }
        break;
    default:
        break;
    }
    {
        WaitCursor hourglass;
        if (!link.dataTx.ReadNsmSettings())
            return;
    }
    Report report = frame.newReport();
    for (const QString& line : takeNsmSettingsLines(s.NsmSettings))
        report.add(line);
    report.show();
}

void NsmCommands::mnuNsmWriteSettings_Click() {
    AppContext& ctx = frame.ctx;
    clink::ControllerLink& link = ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    switch (s.ConnectionType) {
    case clink::Usb:
        if (!link.usb.SendFilterFrame(ids::NsmReply)) {
            link.usb.ReopenDevice();
            return frame.failBox(UsbFailed);
        }
        break;
    case clink::TcpIp:
        if (!link.socket.isConnected())
            return frame.failBox(EthernetFailed);
        break;
    case clink::ParallelPort:
        if (!link.dataTx.ConfigureCanDongle(ids::NsmReply))
            return frame.failBox(QStringLiteral("Unable To Configure ") + s.ControllerIpAddress);
        break;
    default:
        break;
    }
    QWidget* window = ctx.windows.create(wnd::FormNsm);
    bool read = false;
    {
        WaitCursor hourglass;
        read = link.dataTx.ReadNsmSettings();
    }
    if (read)
        ctx.windows.show(wnd::FormNsm, window);
    else
        delete window;
}

} // namespace app
