#include "service/sockettray.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/sockettray.h"

namespace service {

namespace ids = clink::ids;
using clink::SocketTrayListener;
using clink::TrayStatus;

namespace {
const QString Prompt = QStringLiteral("Connect Socket Tray Then Press The Run Test Button");
const QString Started = QStringLiteral("Test Socket Tray Started");
const QString Stopped = QStringLiteral("Test Socket Tray Stopped");
} // namespace

QStringList socketTrayLines(const TrayStatus& status, int count) {
    QStringList lines;
    for (int k = 1; k <= TraySockets; ++k)
        lines << QStringLiteral("Socket %1").arg(k) +
                     (k == status.outSocket ? QStringLiteral(" : Out") : QStringLiteral(" : In"));
    lines << QStringLiteral(" ");
    lines << QStringLiteral("Socket Value: ") + QString::number(status.lamps);
    for (int k = 1; k <= TraySockets; ++k)
        lines << QStringLiteral("Socket %1").arg(k) +
                     ((status.lamps >> (k - 1)) & 1 ? QStringLiteral(" : On") : QStringLiteral(" : Off"));
    lines << QStringLiteral("Rx Message Count :") + QString::number(count);
    return lines;
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
