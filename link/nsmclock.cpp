#include "link/nsmclock.h"

#include "base/failbox.h"
#include "link/cancontroller.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "link/nsmexchange.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace clink {

namespace {
// Where the answer's fields stand: bytes 1..5 after its code.
constexpr size_t HourByte = 0;
constexpr size_t Minute = 1;
constexpr size_t Month = 2;
constexpr size_t Day = 3;
constexpr size_t Year = 4;
constexpr int ClockBytes = int(std::tuple_size_v<NsmClockFields>);

const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
const QString ReadFailed = QStringLiteral("Nsm Read Time/Date Failed");
const QString SetFailed = QStringLiteral("Unable To Transfer Time/Date - Transfer Failed");
const QString SetDone = QStringLiteral("Time/Date Sent Successfully");

std::array<int, 8> readRequest() {
    return {codes::NsmClock, 0, 0, 0, 0, 0, 0, 0};
}

// The set request lists the date first; the answer comes in the read's order.
std::array<int, 8> setRequest(const NsmClockFields& c) {
    return {codes::NsmClockSet, c[Month], c[Day], c[Year], c[Minute], c[HourByte], 0, 0};
}

std::array<int, 6> setEcho(const NsmClockFields& c) {
    return {codes::NsmClockSet, c[HourByte], c[Minute], c[Month], c[Day], c[Year]};
}

// Data bytes 1..5 of an answer.
template <class Bytes> NsmClockFields fieldsOf(const Bytes& answer) {
    return {answer[1], answer[2], answer[3], answer[4], answer[5]};
}
} // namespace

std::optional<NsmClockFields> NsmClockExchange::read() {
    link_.spi.ResetLineHigh();
    link_.state.DataCount = 0;
    std::optional<NsmClockFields> clock;
    {
        Transaction tx(link_);
        clock = readOnLink();
    }
    // The fields are filled only from an answer.
    if (!clock && !configureFailed_)
        base::failBox(link_.dialogs, ReadFailed);
    return clock;
}

std::optional<NsmClockFields> NsmClockExchange::readOnLink() {
    configureFailed_ = false;
    switch (link_.state.ConnectionType) {
    case ParallelPort: {
        LinkCheck check(link_);
        if (!check.passed(check.dongleOnly(ids::NsmReply, CandongleFailed))) {
            configureFailed_ = true;
            return std::nullopt;
        }
        if (const auto a = NsmExchange(link_).askPp(codes::NsmClock, ClockBytes))
            return fieldsOf(*a);
        return std::nullopt;
    }
    case TcpIp:
        return readEthernet();
    case Usb:
        return readUsb();
    default:
        return std::nullopt;
    }
}

std::optional<NsmClockFields> NsmClockExchange::readEthernet() {
    LinkState& s = link_.state;
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
    return fieldsOf(rd);
}

std::optional<NsmClockFields> NsmClockExchange::readUsb() {
    std::optional<NsmClockFields> clock;
    link_.usb.Transact({ids::NsmReply, ids::NsmRequest, {codes::NsmClock, 0}, readRequest()}, UsbReadTries,
                       [&](const UsbRxArray& rx) {
                           if (rx[0] != codes::NsmClock)
                               return UsbReply::Retry;
                           clock = fieldsOf(rx);
                           return UsbReply::Taken;
                       });
    return clock;
}

bool NsmClockExchange::set(const NsmClockFields& clock) {
    Transaction tx(link_);
    link_.spi.ResetLineHigh();
    bool echoed = false;
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        if (LinkCheck check(link_); !check.passed(check.dongleOnly(
                ids::NsmReply, QStringLiteral("Unable To Configure ") + link_.state.ControllerIpAddress)))
            return false;
        echoed = setPp(clock);
        if (echoed)
            link_.dialogs.message(SetDone, base::ProgramTitle, base::MessageIcon::Information);
        break;
    case TcpIp:
        echoed = setEthernet(clock);
        break;
    case Usb:
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

bool NsmClockExchange::setPp(const NsmClockFields& clock) {
    const std::array<int, 6> echo = setEcho(clock);
    link_.spi.WriteRegister(0, canctl::CANINTF);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::NsmRequest, setRequest(clock)},
                   .passes = PpSetRequests,
                   .polls = PpSetPolls,
                   .yieldEachPoll = true},
                  [&](PpRxMessage& m) {
                      return m.bytesAre({echo[0], echo[1], echo[2], echo[3], echo[4], echo[5]});
                  });
}

bool NsmClockExchange::setEthernet(const NsmClockFields& clock) {
    LinkState& s = link_.state;
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

bool NsmClockExchange::setUsb(const NsmClockFields& clock) {
    const std::array<int, 6> echo = setEcho(clock);
    return link_.usb.Transact({ids::NsmReply, ids::NsmRequest, {codes::NsmClockSet, 0}, setRequest(clock)},
                              UsbSetTries, [&](const UsbRxArray& rx) {
                                  for (size_t i = 0; i < echo.size(); ++i)
                                      if (rx[i] != echo[i])
                                          return UsbReply::Retry;
                                  return UsbReply::Taken;
                              });
}

} // namespace clink
