#include "app/dsprevision.h"

#include "app/linkgate.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/cancontroller.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/ppexchange.h"

#include <algorithm>

namespace app {

namespace {
constexpr int MinorByte = 6;
constexpr int MajorByte = 7;
constexpr int Hundred = 100;

// Ethernet: the second filter frame's settling wait (cycles of two DoEvents), the attempts and their
// waits (passes of three DoEvents), and the longer wait after the first attempt.
constexpr long SettleCycles = 500;
constexpr int Attempts = 6001;
constexpr long AttemptPasses = 5000;
constexpr long FirstAttemptExtraPasses = 6001;
constexpr long DoEventsPerPass = 3;
// All the attempts of one read wait no longer together than one wait may last.
constexpr long ReadBudget = long(base::MaxWait / base::DoEventsSlice);

const QString UnableToConfigure = QStringLiteral("Unable To Configure CanDongle");
const QString UnableEthernet = QStringLiteral("Unable to connect using ethernet");
const QString PpFailed = QStringLiteral("Read Dsp Software Revision Failed");
const QString EthernetFailed = QStringLiteral("Error getting version reading");
const QString UsbFailed = QStringLiteral("DSP value not read");

constexpr int DspResetCode = 0x0B;
// Parallel port: reads of the transmit buffer's control register while its request is pending.
constexpr int TransmitPolls = 100;
constexpr int Restore = 0xFF; // register reads arrive complemented

bool transmitted(clink::ControllerLink& link) {
    for (int poll = 0; poll < TransmitPolls; ++poll) {
        if (((link.spi.ReadRegister(clink::canctl::TXB0CTRL) ^ Restore) & clink::canctl::TXREQ) == 0)
            return true;
        link.pump.doEvents();
    }
    return false;
}
} // namespace

bool SendDspReset(clink::ControllerLink& link) {
    const std::array<int, 8> data{DspResetCode, 0, 0, 0, 0, 0, 0, 0};
    switch (link.state.ConnectionType) {
    case clink::ParallelPort:
        if (!clink::LinkCheck(link).dongleReadyToSend(clink::ids::DspReply))
            return false;
        link.spi.ResetLineHigh();
        link.dataTx.SendCanMessage({clink::ids::DspWriteRequest, data});
        return transmitted(link);
    case clink::TcpIp:
        return link.ethernet.SendCanFrame(clink::ids::DspWriteRequest, clink::ids::DspWriteRequest, data);
    case clink::Usb:
        return link.usb.SendCanFrame(clink::ids::DspWriteRequest, clink::ids::DspWriteRequest, {0, 0}, data);
    default:
        return false;
    }
}

DspRevision::DspRevision(clink::ControllerLink& link) : link_(link) {}

QString DspRevision::revisionText(int major, int minor) {
    return QStringLiteral("Dsp Software Revision : ") + QString::number(major) + u'.' +
           QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
}

bool DspRevision::mnuDspRev() {
    return read(Mode::Command);
}

bool DspRevision::GetDspRev() {
    link_.state.ReplyReady = false;
    return read(Mode::Guard);
}

bool DspRevision::read(Mode mode) {
    clink::Transaction tx(link_);
    link_.spi.ResetLineHigh();
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        return readPp(mode);
    case clink::TcpIp:
        return readEthernet(mode);
    case clink::Usb:
        if (!readUsb())
            return false;
        store(mode, link_.state.UsbRxBytes[MajorByte], link_.state.UsbRxBytes[MinorByte]);
        return true;
    default:
        return false;
    }
}

void DspRevision::store(Mode mode, int major, int minor) {
    DspVersion = major + double(minor) / Hundred;
    if (mode == Mode::Command)
        link_.dialogs.message(revisionText(major, minor), base::ProgramTitle, base::MessageIcon::Information);
}

bool DspRevision::readPp(Mode mode) {
    clink::LinkState& s = link_.state;
    if (!LinkGate(link_).dongleOnly(clink::ids::ToolReply, UnableToConfigure))
        return false;
    clink::PpExchange pp(link_);
    // Nothing is sent: the DSP's revision frame is listened for.
    const bool heard = pp.run({.request = std::nullopt,
                               .passes = 1,
                               .polls = PpPolls,
                               .yieldEachPass = false,
                               .yieldEachPoll = true},
                              [&](clink::PpRxMessage& m) {
                                  if (m.byte(0) != RevisionCode)
                                      return false;
                                  for (int n = 1; n <= MajorByte; ++n)
                                      s.DataBuffer.put(n, m.byte(n));
                                  return true;
                              });
    if (!heard) {
        link_.dialogs.message(PpFailed, base::ProgramTitle, base::MessageIcon::Information);
        return false;
    }
    if (mode == Mode::Guard)
        s.ReplyReady = true;
    store(mode, s.DataBuffer[MajorByte], s.DataBuffer[MinorByte]);
    return true;
}

bool DspRevision::readEthernet(Mode mode) {
    clink::LinkState& s = link_.state;
    clink::Ethernet& eth = link_.ethernet;
    // Only the DSP's revision answers are taken, from before the first frame on: the tool's own reports on
    // the identifier and answers still owed to an earlier exchange there are not the revision. The zero-data
    // frames on the DSP's identifier are its requests, the first two included: the DSP answers each.
    eth.expect({.id = clink::ids::ToolReply, .code = RevisionCode, .echo = {RevisionCode}});
    if (!eth.SendRequestFrame(clink::ids::ToolReply, clink::ids::ToolReply, {})) {
        link_.dialogs.message(UnableEthernet, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    if (eth.SendRequestFrame(clink::ids::ToolReply, clink::ids::ToolReply, {}))
        link_.pump.pause(SettleCycles * 2);

    // The revision is taken from the frames that follow: the first arms the handler, the next is stored.
    s.ReplyReady = false;
    s.DataBuffer.put(MinorByte, 0);
    s.DataBuffer.put(MajorByte, 0);
    s.AckReceived = false;

    long budget = ReadBudget;
    auto wait = [&](long doEvents) {
        const long count = std::min(doEvents, budget);
        if (count <= 0)
            return;
        if (!link_.pump.waitUntil([&s] { return s.ReplyReady; }, count))
            budget -= count;
    };
    for (int attempt = 0; attempt < Attempts && !s.ReplyReady && budget > 0 && !link_.transactions.over();
         ++attempt) {
        if ((mode == Mode::Command || attempt == 0) &&
            !eth.SendRequestFrame(clink::ids::ToolReply, clink::ids::ToolReply, {})) {
            s.ReplyReady = false;
            break;
        }
        wait(AttemptPasses * DoEventsPerPass);
        if (attempt == 0)
            wait(FirstAttemptExtraPasses * DoEventsPerPass);
    }

    const bool ok = s.ReplyReady;
    if (ok)
        store(mode, s.DataBuffer[MajorByte], s.DataBuffer[MinorByte]);
    else
        link_.dialogs.message(EthernetFailed, base::ProgramTitle, base::MessageIcon::Critical);
    // The closing frame asks the controller for its status. Its answer would complete whatever
    // transaction waits next, so it is taken here.
    eth.expect({.id = clink::ids::StatusRequest});
    if (eth.SendRequestFrame(clink::ids::StatusRequest, clink::ids::StatusRequest, {}))
        link_.pump.waitUntil([&s] { return s.ReplyReady; }, clink::Ethernet::SendWaitCycles * 2);
    s.ReplyReady = ok;
    return ok;
}

bool DspRevision::readUsb() {
    clink::LinkState& s = link_.state;
    s.UsbRxBytes[0] = 0;
    const bool ok =
        link_.usb.Transact({clink::ids::ToolReply, clink::ids::ToolReply, {RevisionCode, 0}, {}},
                           clink::USB::UsualTries, [](const clink::UsbRxArray& rx) {
                               return rx[0] == RevisionCode ? clink::UsbReply::Taken : clink::UsbReply::Retry;
                           });
    if (!ok)
        link_.dialogs.message(UsbFailed, base::ProgramTitle, base::MessageIcon::Information);
    return ok;
}

} // namespace app
