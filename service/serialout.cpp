#include "service/serialout.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace service {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr size_t ModeByte = 1;

} // namespace

QString serialOutModeText(int mode) {
    if (mode < 0 || mode >= SerialOutModes.size())
        return {};
    // The Profibus item reads "Profibus", its text "Profibus Output".
    const QString name = mode == 1 ? QStringLiteral("Profibus Output") : SerialOutModes[mode];
    return name + QStringLiteral(" Selected");
}

std::optional<int> SerialOutExchange::read() {
    return exchange({codes::SerialOutRead, 0, 0, 0, 0, 0, 0, 0},
                    base::pollCount(link_.state.TransferDelay, PpReadPollFactor));
}

std::optional<int> SerialOutExchange::set(int mode) {
    return exchange({codes::SerialOutSet, mode, 0, 0, 0, 0, 0, 0}, PpSetPolls);
}

std::optional<int> SerialOutExchange::exchange(const std::array<int, 8>& request, long ppPolls) {
    clink::Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        return exchangePp(request, ppPolls);
    case clink::TcpIp:
        return exchangeEthernet(request);
    case clink::Usb:
        return exchangeUsb(request);
    default:
        return std::nullopt;
    }
}

std::optional<int> SerialOutExchange::exchangePp(const std::array<int, 8>& request, long polls) {
    if (!app::LinkGate(link_).preCheck(ids::StatusRequest))
        return std::nullopt;
    std::optional<int> mode;
    clink::PpExchange pp(link_);
    pp.run({.request = clink::CanMessage{ids::CommandRequest, request}, .passes = 1, .polls = polls},
           [&](clink::PpRxMessage& m) {
               if (!m.bytesAre({codes::SerialOutMode}))
                   return false;
               mode = m.byte(ModeByte);
               return true;
           });
    return mode;
}

std::optional<int> SerialOutExchange::exchangeEthernet(const std::array<int, 8>& request) {
    clink::LinkState& s = link_.state;
    // The controller answers the filter frames with its status, which sets ReplyReady: only the mode answer
    // sets AckReceived, so the wait is on that. Mode answers still owed to an earlier read, or copies of one
    // a gateway passes late, are not taken: the mode answer carries nothing of the request.
    link_.ethernet.expect({.id = ids::StatusRequest, .code = codes::SerialOutMode, .quietFirst = true});
    if (!link_.ethernet.SendFilterFrame(ids::StatusRequest)) {
        base::failBox(link_.dialogs, clink::LinkFailTexts().ethernet);
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
                       clink::USB::UsualTries, [&](const clink::UsbRxArray& rx) {
                           if (rx[0] != codes::SerialOutMode)
                               return clink::UsbReply::Retry;
                           mode = rx[ModeByte];
                           return clink::UsbReply::Taken;
                       });
    return mode;
}

bool SerialOutSession::Form_Load() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return false;
    show(SerialOutExchange(ctx_.link).read(), true);
    return true;
}

bool SerialOutSession::cmdSet_Click(int listIndex) {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired() || listIndex < 0)
        return false;
    show(SerialOutExchange(ctx_.link).set(listIndex), ctx_.state.ConnectionType == clink::ParallelPort);
    return true;
}

void SerialOutSession::show(const std::optional<int>& mode, bool select) {
    cboSerOut_ = -1;
    // A mode the list does not hold shows nothing.
    if (!mode || serialOutModeText(*mode).isEmpty())
        return;
    txtResult_ = serialOutModeText(*mode);
    if (select)
        cboSerOut_ = *mode;
}

} // namespace service
