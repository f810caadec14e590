#include "link/dsprevision.h"

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/cancontroller.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/ppexchange.h"

#include <algorithm>

namespace clink {

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

bool transmitted(ControllerLink& link) {
    for (int poll = 0; poll < TransmitPolls; ++poll) {
        if (((link.spi.ReadRegister(canctl::TXB0CTRL) ^ Restore) & canctl::TXREQ) == 0)
            return true;
        link.pump.doEvents();
    }
    return false;
}

bool sendDspResetOnce(ControllerLink& link) {
    const std::array<int, 8> data{DspResetCode, 0, 0, 0, 0, 0, 0, 0};
    switch (link.state.ConnectionType) {
    case ParallelPort:
        if (!LinkCheck(link).dongleReadyToSend(ids::DspReply))
            return false;
        link.spi.ResetLineHigh();
        link.dataTx.SendCanMessage({ids::DspWriteRequest, data});
        return transmitted(link);
    case TcpIp:
        return link.ethernet.SendCanFrame(ids::DspWriteRequest, ids::DspWriteRequest, data);
    case Usb:
        return link.usb.SendCanFrame(ids::DspWriteRequest, ids::DspWriteRequest, {0, 0}, data);
    default:
        return false;
    }
}

} // namespace

bool SendDspReset(ControllerLink& link, int parallelSends) {
    const int sends = link.state.ConnectionType == ParallelPort ? parallelSends : 1;
    for (int n = 0; n < sends; ++n) {
        if (!sendDspResetOnce(link))
            return false;
    }
    return true;
}

DspRevision::DspRevision(ControllerLink& link) : link_(link) {}

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
    Transaction tx(link_);
    link_.spi.ResetLineHigh();
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return readPp(mode);
    case TcpIp:
        return readEthernet(mode);
    case Usb:
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
    LinkState& s = link_.state;
    if (LinkCheck check(link_); !check.passed(check.dongleOnly(ids::ToolReply, UnableToConfigure)))
        return false;
    PpExchange pp(link_);
    // Nothing is sent: the DSP's revision frame is listened for.
    const bool heard = pp.run({.request = std::nullopt,
                               .passes = 1,
                               .polls = PpPolls,
                               .yieldEachPass = false,
                               .yieldEachPoll = true},
                              [&](PpRxMessage& m) {
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
    LinkState& s = link_.state;
    Ethernet& eth = link_.ethernet;
    // Only the DSP's revision answers are taken, from before the first frame on: the tool's own reports on
    // the identifier and answers still owed to an earlier exchange there are not the revision. The zero-data
    // frames on the DSP's identifier are its requests, the first two included: the DSP answers each.
    eth.expect({.id = ids::ToolReply, .code = RevisionCode, .echo = {RevisionCode}});
    if (!eth.SendRequestFrame(ids::ToolReply, ids::ToolReply, {})) {
        link_.dialogs.message(UnableEthernet, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    if (eth.SendRequestFrame(ids::ToolReply, ids::ToolReply, {}))
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
            !eth.SendRequestFrame(ids::ToolReply, ids::ToolReply, {})) {
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
    eth.expect({.id = ids::StatusRequest});
    if (eth.SendRequestFrame(ids::StatusRequest, ids::StatusRequest, {}))
        link_.pump.waitUntil([&s] { return s.ReplyReady; }, Ethernet::SendWaitCycles * 2);
    s.ReplyReady = ok;
    return ok;
}

bool DspRevision::readUsb() {
    LinkState& s = link_.state;
    s.UsbRxBytes[0] = 0;
    const bool ok = link_.usb.Transact(
        {ids::ToolReply, ids::ToolReply, {RevisionCode, 0}, {}}, USB::UsualTries,
        [](const UsbRxArray& rx) { return rx[0] == RevisionCode ? UsbReply::Taken : UsbReply::Retry; });
    if (!ok)
        link_.dialogs.message(UsbFailed, base::ProgramTitle, base::MessageIcon::Information);
    return ok;
}

} // namespace clink
