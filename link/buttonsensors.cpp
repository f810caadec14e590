#include "link/buttonsensors.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

#include <functional>

namespace clink {

namespace {
// The progress runs one frame past the last (the bar's range), from 1 once the link is set up.
constexpr int ProgressSpare = 2;
constexpr int ProgressStart = 1;
// USB takes its requests one after the other, without a pause between them.
constexpr long NoPause = 0;

const std::array<int, 8> TestRequest{ButtonSensors::TestRequestCode, 0, 0, 0, 0, 0, 0, 0};

const LinkFailTexts ReadingTexts{.parallel = QStringLiteral("Unable To Configure Candongle"),
                                 .ethernet = QStringLiteral("Unable to connect using Ethernet")};
} // namespace

ButtonSensors::ButtonSensors(ControllerLink& link) : link_(link) {}

void ButtonSensors::sendTestRequest(base::Progress& progress) {
    Transaction tx(link_);
    // Each request goes out, then (but over USB) the pause that lets the tool take it; the bar moves with
    // them through the seconds they take.
    const auto sendAll = [&](int sends, long pause) {
        progress.setRange(0, sends);
        progress.setValue(0);
        for (int i = 0; i < sends; ++i) {
            link_.dataTx.SendUnanswered(SensorFrames, {ids::ToolEepromRequest, TestRequest});
            if (pause != NoPause)
                link_.pump.pause(pause);
            progress.setValue(i + 1);
        }
    };
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        // Right after start-up the dongle would send none of them: it is set up first (for the
        // sensor frames, which the readings set it up for again). Without it nothing can go out.
        if (!LinkCheck(link_).dongleReadyToSend(SensorFrames))
            break;
        sendAll(RequestSends, RequestPause);
        break;
    case TcpIp:
        sendAll(RequestSends, RequestPause);
        break;
    case Usb:
        sendAll(UsbRequestSends, NoPause);
        break;
    default:
        break;
    }
}

ButtonSensors::Result ButtonSensors::takeReadings(base::Progress& progress) {
    LinkState& s = link_.state;
    // One exchange: what an earlier one left unread is dropped first.
    Transaction tx(link_);
    s.DataCount = 0;
    link_.dataTx.ClearReceiveBuffer();
    progress.setRange(0, Readings + ProgressSpare);
    // Over Ethernet the stream is listened for from before the filter frame that lets it through.
    if (s.ConnectionType == TcpIp)
        link_.ethernet.expect({.id = SensorFrames, .unprompted = true});

    const LinkCheckResult check =
        LinkCheck(link_).preCheck(SensorFrames, {.usb = UsbCheck::Reopen, .texts = ReadingTexts});
    if (!check)
        return {Outcome::LinkFailed, check.failText};
    progress.setValue(ProgressStart);
    bool taken = false;
    switch (s.ConnectionType) {
    case ParallelPort:
        taken = readPp(progress);
        break;
    case TcpIp:
        taken = readEthernet(progress);
        break;
    case Usb:
        taken = readUsb(progress);
        break;
    default:
        break;
    }
    return {taken ? Outcome::Taken : Outcome::Missing, {}};
}

bool ButtonSensors::readPp(base::Progress& progress) {
    LinkState& s = link_.state;
    PpExchange pp(link_);
    for (int frame = 0; frame < Readings; ++frame) {
        // The tool streams on its own: nothing is sent, and the polls run without yielding.
        const bool heard = pp.run({.request = std::nullopt,
                                   .passes = 1,
                                   .polls = PpPolls,
                                   .yieldEachPass = false,
                                   .yieldEachPoll = false},
                                  [&](PpRxMessage& m) {
                                      for (int n = 0; n < FrameBytes; ++n)
                                          s.DataBuffer.put(s.DataCount++, m.byte(n));
                                      return true;
                                  });
        if (!heard)
            return false;
        progress.setValue(frame + 1);
    }
    return true;
}

bool ButtonSensors::readEthernet(base::Progress& progress) {
    LinkState& s = link_.state;
    // The reply handler appends each frame at DataCount and sets ReplyReady. Frames that came in one
    // piece count one by one: the wait for a frame ends at once when it is already stored.
    for (int frame = 0; frame < Readings; ++frame) {
        const int stored = FrameBytes * (frame + 1);
        s.ReplyReady = false;
        if (!link_.pump.waitUntil([&s, stored] { return s.DataCount >= stored; }, EthernetWait))
            return false;
        progress.setValue(frame + 1);
    }
    return true;
}

bool ButtonSensors::readUsb(base::Progress& progress) {
    LinkState& s = link_.state;
    USB& usb = link_.usb;
    for (int frame = 0; frame < Readings; ++frame) {
        // A read that timed out leaves blanks in the reply: such a reply is never a reading.
        const bool taken =
            usb.Transact(usbFilterRequest(SensorFrames), USB::UsualTries, [&](const UsbRxArray& rx) {
                if (usb.UsbBytesRead != USB::ReplySize)
                    return UsbReply::Retry;
                for (int n = 0; n < FrameBytes; ++n)
                    s.DataBuffer.put(s.DataCount++, rx[size_t(n)]);
                return UsbReply::Taken;
            });
        if (!taken)
            return false;
        progress.setValue(frame + 1);
    }
    return true;
}

} // namespace clink
