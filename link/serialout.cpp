#include "link/serialout.h"

#include "base/failbox.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace clink {

namespace {
constexpr size_t ModeByte = 1;
} // namespace

std::optional<int> SerialOutExchange::read() {
    return exchange({codes::SerialOutRead, 0, 0, 0, 0, 0, 0, 0},
                    base::pollCount(link_.state.TransferDelay, PpReadPollFactor));
}

std::optional<int> SerialOutExchange::set(int mode) {
    return exchange({codes::SerialOutSet, mode, 0, 0, 0, 0, 0, 0}, PpSetPolls);
}

std::optional<int> SerialOutExchange::exchange(const std::array<int, 8>& request, long ppPolls) {
    Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return exchangePp(request, ppPolls);
    case TcpIp:
        return exchangeEthernet(request);
    case Usb:
        return exchangeUsb(request);
    default:
        return std::nullopt;
    }
}

std::optional<int> SerialOutExchange::exchangePp(const std::array<int, 8>& request, long polls) {
    if (LinkCheck check(link_); !check.passed(check.preCheck(ids::StatusRequest)))
        return std::nullopt;
    std::optional<int> mode;
    PpExchange pp(link_);
    pp.run({.request = CanMessage{ids::CommandRequest, request}, .passes = 1, .polls = polls},
           [&](PpRxMessage& m) {
               if (!m.bytesAre({codes::SerialOutMode}))
                   return false;
               mode = m.byte(ModeByte);
               return true;
           });
    return mode;
}

std::optional<int> SerialOutExchange::exchangeEthernet(const std::array<int, 8>& request) {
    LinkState& s = link_.state;
    // The controller answers the filter frames with its status, which sets ReplyReady: only the mode answer
    // sets AckReceived, so the wait is on that. Mode answers still owed to an earlier read, or copies of one
    // a gateway passes late, are not taken: the mode answer carries nothing of the request.
    link_.ethernet.expect({.id = ids::StatusRequest, .code = codes::SerialOutMode, .quietFirst = true});
    if (!link_.ethernet.SendFilterFrame(ids::StatusRequest)) {
        base::failBox(link_.dialogs, LinkFailTexts().ethernet);
        return std::nullopt;
    }
    for (int frame = 1; frame < EthernetFilterFrames; ++frame)
        link_.ethernet.SendFilterFrame(ids::StatusRequest);
    s.ReplyReady = false;
    s.AckReceived = false;
    for (int n = 0; n < EthernetRequests && !s.AckReceived && !link_.transactions.over(); ++n) {
        // A frame the socket refuses ends the exchange: the connection is gone.
        if (!link_.ethernet.SendCanFrame(ids::StatusRequest, ids::CommandRequest, request))
            break;
        link_.pump.waitUntil([&] { return s.AckReceived; }, EthernetAnswerWait);
    }
    if (!s.AckReceived)
        return std::nullopt;
    s.AckReceived = false;
    return s.RequestData[ModeByte];
}

std::optional<int> SerialOutExchange::exchangeUsb(const std::array<int, 8>& request) {
    std::optional<int> mode;
    link_.usb.Transact({ids::StatusRequest, ids::CommandRequest, {codes::SerialOutMode, 0}, request},
                       USB::UsualTries, [&](const UsbRxArray& rx) {
                           if (rx[0] != codes::SerialOutMode)
                               return UsbReply::Retry;
                           mode = rx[ModeByte];
                           return UsbReply::Taken;
                       });
    return mode;
}

} // namespace clink
