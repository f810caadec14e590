#include "service/sockettray.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/cancontroller.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/transaction.h"

namespace service {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int SocketByte = 1;
constexpr int LampByte = 7;

const QString Prompt = QStringLiteral("Connect Socket Tray Then Press The Run Test Button");
const QString Started = QStringLiteral("Test Socket Tray Started");
const QString Stopped = QStringLiteral("Test Socket Tray Stopped");
} // namespace

QStringList socketTrayLines(const TrayStatus& status, int count) {
    QStringList lines;
    for (int k = 1; k <= SocketTrayListener::Sockets; ++k)
        lines << QStringLiteral("Socket %1").arg(k) +
                     (k == status.outSocket ? QStringLiteral(" : Out") : QStringLiteral(" : In"));
    lines << QStringLiteral(" ");
    lines << QStringLiteral("Socket Value: ") + QString::number(status.lamps);
    for (int k = 1; k <= SocketTrayListener::Sockets; ++k)
        lines << QStringLiteral("Socket %1").arg(k) +
                     ((status.lamps >> (k - 1)) & 1 ? QStringLiteral(" : On") : QStringLiteral(" : Off"));
    lines << QStringLiteral("Rx Message Count :") + QString::number(count);
    return lines;
}

std::optional<TrayStatus> SocketTrayListener::pass() {
    std::optional<TrayStatus> status;
    idlePause_ = 0;
    {
        clink::Transaction tx(link_);
        switch (link_.state.ConnectionType) {
        case clink::ParallelPort:
            status = passPp();
            break;
        case clink::TcpIp:
            status = passEthernet();
            break;
        case clink::Usb:
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
    link_.spi.WriteRegister(0, clink::canctl::CANINTF);
    link_.pump.pause(DelayYields);
    std::optional<TrayStatus> status;
    clink::PpExchange(link_).look([&](clink::PpRxMessage& m) {
        if (!m.bytesAre({codes::TrayStatus}))
            return false;
        status = TrayStatus{m.byte(SocketByte), m.byte(LampByte)};
        return true;
    });
    return status;
}

std::optional<TrayStatus> SocketTrayListener::passEthernet() {
    clink::LinkState& s = link_.state;
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
    clink::LinkState& s = link_.state;
    if (!link_.usb.SendFilterFrame(ids::Reply13EF0110)) {
        idlePause_ = DelayYields;
        return std::nullopt;
    }
    if (s.UsbRxBytes[0] != codes::TrayStatus)
        return std::nullopt;
    return TrayStatus{s.UsbRxBytes[SocketByte], s.UsbRxBytes[LampByte]};
}

void SocketTrayListener::stop() {
    if (link_.state.ConnectionType == clink::TcpIp)
        link_.ethernet.SendFilterFrame(ids::DspWriteRequest);
}

SocketTrayTest::SocketTrayTest(app::AppServices& ctx) : ctx_(ctx) {}

SocketTrayTest::~SocketTrayTest() = default;

void SocketTrayTest::Form_Load() {
    list_ = QStringList{Prompt};
    emit listChanged();
}

bool SocketTrayTest::active() const {
    return busy_ != nullptr;
}

bool SocketTrayTest::btnRunTest_Click(const QObject* window) {
    if (busy_)
        return false;
    auto busy = std::make_unique<base::BusyGuard>(ctx_.busy, window);
    if (!busy->acquired())
        return false;
    clink::PreCheck how{.usb = clink::UsbCheck::Reopen, .ethernet = clink::EthernetCheck::ConnectedOnly};
    how.texts.parallel = QStringLiteral("Unable To Configure ") + ctx_.state.ControllerIpAddress;
    if (!app::LinkGate(ctx_.link).preCheck(ids::Reply13EF0110, how))
        return false;
    busy_ = std::move(busy);
    SocketTestRunning = true;
    count_ = 0;
    list_ = QStringList{Started};
    emit listChanged();
    return true;
}

bool SocketTrayTest::pass() {
    if (!busy_)
        return false;
    if (!SocketTestRunning) {
        SocketTrayListener(ctx_.link).stop();
        list_ << Stopped;
        busy_.reset();
        emit listChanged();
        return false;
    }
    if (const std::optional<TrayStatus> status = SocketTrayListener(ctx_.link).pass())
        show(*status);
    return true;
}

void SocketTrayTest::show(const TrayStatus& status) {
    ++count_;
    list_ = socketTrayLines(status, count_);
    emit listChanged();
}

} // namespace service
