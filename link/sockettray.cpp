#include "link/sockettray.h"

#include "link/cancontroller.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace clink {

namespace {
constexpr int SocketByte = 1;
constexpr int LampByte = 7;
} // namespace

std::optional<TrayStatus> SocketTrayListener::pass() {
    std::optional<TrayStatus> status;
    idlePause_ = 0;
    {
        Transaction tx(link_);
        switch (link_.state.ConnectionType) {
        case ParallelPort:
            status = passPp();
            break;
        case TcpIp:
            status = passEthernet();
            break;
        case Usb:
            status = passUsb();
            break;
        default:
            break;
        }
    }
    // A link that refused the pass's frame: the pass waits all the same, so the loop idles until Stop.
    if (idlePause_ > 0)
        link_.pump.pause(idlePause_);
    return status;
}

std::optional<TrayStatus> SocketTrayListener::passPp() {
    link_.pump.doEvents();
    // Messages that came outside the pause are dropped: the test shows what the tray says now.
    link_.spi.WriteRegister(0, canctl::CANINTF);
    link_.pump.pause(DelayYields);
    std::optional<TrayStatus> status;
    PpExchange(link_).look([&](PpRxMessage& m) {
        if (!m.bytesAre({codes::TrayStatus}))
            return false;
        status = TrayStatus{m.byte(SocketByte), m.byte(LampByte)};
        return true;
    });
    return status;
}

std::optional<TrayStatus> SocketTrayListener::passEthernet() {
    LinkState& s = link_.state;
    // Only the tray's frames are heard, from before the pass's first frame on. The tray sends on its own, so
    // the line is never quiet there: its latest frames are its status.
    link_.ethernet.expect({.id = ids::Reply13EF0110, .unprompted = true});
    link_.pump.doEvents();
    // The first frame of the tray after the pause only arms the reply handler; the next one is kept.
    if (!link_.ethernet.SendFilterFrame(ids::Reply13EF0110)) {
        idlePause_ = FilterPause;
        return std::nullopt;
    }
    link_.pump.pause(FilterPause);
    s.AckReceived = false;
    s.ReplyReady = false;
    for (int n = 0; n < EthernetFrames && !s.ReplyReady && !link_.transactions.over(); ++n) {
        if (!link_.ethernet.SendFilterFrame(ids::Reply13EF0110))
            break;
        if (n == 0)
            link_.pump.waitUntil([&] { return s.ReplyReady; }, FirstFrameWait);
    }
    s.AckReceived = false;
    if (!s.ReplyReady)
        return std::nullopt;
    return TrayStatus{s.RequestData[1], s.RequestData[2]};
}

std::optional<TrayStatus> SocketTrayListener::passUsb() {
    link_.pump.doEvents();
    LinkState& s = link_.state;
    if (!link_.usb.SendFilterFrame(ids::Reply13EF0110)) {
        idlePause_ = DelayYields;
        return std::nullopt;
    }
    if (s.UsbRxBytes[0] != codes::TrayStatus)
        return std::nullopt;
    return TrayStatus{s.UsbRxBytes[SocketByte], s.UsbRxBytes[LampByte]};
}

void SocketTrayListener::stop() {
    if (link_.state.ConnectionType == TcpIp)
        link_.ethernet.SendFilterFrame(ids::DspWriteRequest);
}

} // namespace clink
