#include "service/nsmclock.h"

#include "app/linkgate.h"
#include "app/nsmexchange.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/cancontroller.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace service {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
// The answer's bytes after its code: hour, minute, month, day, year.
constexpr int ClockBytes = 5;

const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
const QString ReadFailed = QStringLiteral("Nsm Read Time/Date Failed");
const QString SetFailed = QStringLiteral("Unable To Transfer Time/Date - Transfer Failed");
const QString SetDone = QStringLiteral("Time/Date Sent Successfully");

std::array<int, 8> readRequest() {
    return {codes::NsmClock, 0, 0, 0, 0, 0, 0, 0};
}

// The set request lists the date first; the answer comes in the read's order.
std::array<int, 8> setRequest(const NsmClock& c) {
    return {codes::NsmClockSet, c.month, c.day, c.year, c.minute, c.hourByte(), 0, 0};
}

std::array<int, 6> setEcho(const NsmClock& c) {
    return {codes::NsmClockSet, c.hourByte(), c.minute, c.month, c.day, c.year};
}
} // namespace

NsmClock NsmClock::fromReply(int hourByte, int minute, int month, int day, int year) {
    NsmClock clock;
    clock.hour = hourByte & HourMask;
    clock.pm = hourByte > LastAmHourByte;
    clock.minute = minute;
    clock.month = month;
    clock.day = day;
    clock.year = year;
    return clock;
}

std::optional<NsmClock> NsmClockExchange::read() {
    std::optional<NsmClock> clock;
    {
        clink::Transaction tx(link_);
        clock = readOnLink();
    }
    // The fields are filled only from an answer.
    if (!clock && !configureFailed_)
        base::failBox(link_.dialogs, ReadFailed);
    return clock;
}

std::optional<NsmClock> NsmClockExchange::readOnLink() {
    configureFailed_ = false;
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        if (!app::LinkGate(link_).dongleOnly(ids::NsmReply, CandongleFailed)) {
            configureFailed_ = true;
            return std::nullopt;
        }
        if (const auto a = app::NsmExchange(link_).askPp(codes::NsmClock, ClockBytes))
            return NsmClock::fromReply((*a)[1], (*a)[2], (*a)[3], (*a)[4], (*a)[5]);
        return std::nullopt;
    case clink::TcpIp:
        return readEthernet();
    case clink::Usb:
        return readUsb();
    default:
        return std::nullopt;
    }
}

std::optional<NsmClock> NsmClockExchange::readEthernet() {
    clink::LinkState& s = link_.state;
    auto& rd = s.RequestData;
    // The unit answers its filter frame with its clock too: only the clock's answers are awaited.
    link_.ethernet.expect({.id = ids::NsmReply, .code = codes::NsmClock});
    if (link_.ethernet.SendFilterFrame(ids::NsmReply))
        link_.pump.pause(ReadFilterPause);
    s.AckReceived = false;
    s.ReplyReady = false;
    for (int n = 0; n < ReadRequests && !s.ReplyReady && !link_.transactions.over(); ++n) {
        // A frame the socket refuses ends the read: the connection is gone.
        if (!link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, readRequest()))
            break;
        // Later requests rely on the frame's own wait.
        if (n == 0)
            link_.pump.waitUntil([&] { return s.ReplyReady; }, ReadFirstWait);
    }
    s.AckReceived = false;
    if (!s.ReplyReady)
        return std::nullopt;
    return NsmClock::fromReply(rd[1], rd[2], rd[3], rd[4], rd[5]);
}

std::optional<NsmClock> NsmClockExchange::readUsb() {
    std::optional<NsmClock> clock;
    link_.usb.Transact({ids::NsmReply, ids::NsmRequest, {codes::NsmClock, 0}, readRequest()}, UsbReadTries,
                       [&](const clink::UsbRxArray& rx) {
                           if (rx[0] != codes::NsmClock)
                               return clink::UsbReply::Retry;
                           clock = NsmClock::fromReply(rx[1], rx[2], rx[3], rx[4], rx[5]);
                           return clink::UsbReply::Taken;
                       });
    return clock;
}

bool NsmClockExchange::set(const NsmClock& clock) {
    clink::Transaction tx(link_);
    link_.spi.ResetLineHigh();
    bool echoed = false;
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        if (!app::LinkGate(link_).dongleOnly(ids::NsmReply, QStringLiteral("Unable To Configure ") +
                                                                link_.state.ControllerIpAddress))
            return false;
        echoed = setPp(clock);
        if (echoed)
            link_.dialogs.message(SetDone, base::ProgramTitle, base::MessageIcon::Information);
        break;
    case clink::TcpIp:
        echoed = setEthernet(clock);
        break;
    case clink::Usb:
        echoed = setUsb(clock);
        break;
    default:
        break;
    }
    // A time the unit did not take never passes silently.
    if (!echoed)
        base::failBox(link_.dialogs, SetFailed);
    return echoed;
}

bool NsmClockExchange::setPp(const NsmClock& clock) {
    const std::array<int, 6> echo = setEcho(clock);
    link_.spi.WriteRegister(0, clink::canctl::CANINTF);
    clink::PpExchange pp(link_);
    return pp.run({.request = clink::CanMessage{ids::NsmRequest, setRequest(clock)},
                   .passes = PpSetRequests,
                   .polls = PpSetPolls,
                   .yieldEachPoll = true},
                  [&](clink::PpRxMessage& m) {
                      return m.bytesAre({echo[0], echo[1], echo[2], echo[3], echo[4], echo[5]});
                  });
}

bool NsmClockExchange::setEthernet(const NsmClock& clock) {
    clink::LinkState& s = link_.state;
    // The reply handler takes an answer only when it echoes these.
    const std::array<int, 6> echo = setEcho(clock);
    link_.ethernet.expect({.id = ids::NsmReply,
                           .code = codes::NsmClockSet,
                           .echo = {echo[1], echo[2], echo[3], echo[4], echo[5]},
                           .changes = true});
    if (link_.ethernet.SendFilterFrame(ids::NsmReply))
        link_.pump.pause(SetFilterPause);
    s.ReplyReady = false;
    s.AckReceived = false;
    for (int n = 0; n < SetRequests && !s.ReplyReady && !link_.transactions.over(); ++n) {
        if (!link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, setRequest(clock)))
            break;
        if (n == 0)
            link_.pump.waitUntil([&] { return s.ReplyReady; }, SetFirstWait);
    }
    return s.ReplyReady;
}

bool NsmClockExchange::setUsb(const NsmClock& clock) {
    const std::array<int, 6> echo = setEcho(clock);
    return link_.usb.Transact({ids::NsmReply, ids::NsmRequest, {codes::NsmClockSet, 0}, setRequest(clock)},
                              UsbSetTries, [&](const clink::UsbRxArray& rx) {
                                  for (size_t i = 0; i < echo.size(); ++i)
                                      if (rx[i] != echo[i])
                                          return clink::UsbReply::Retry;
                                  return clink::UsbReply::Taken;
                              });
}

} // namespace service
