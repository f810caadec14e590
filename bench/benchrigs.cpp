#include "bench/benchrigs.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace benchsupport {

namespace {
constexpr int ConnectTimeoutMs = 5000;
constexpr int ConnectSliceMs = 10;
} // namespace

EthernetRig::EthernetRig() {
    dongle.listen(0);
    link.state.ConnectionType = clink::TcpIp;
    link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
    QElapsedTimer t;
    t.start();
    while (!(link.socket.isConnected() && dongle.hasClient()) && t.elapsed() < ConnectTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, ConnectSliceMs);
}

PpRig::PpRig() {
    chip.open();
    link.spi.usePort(chip);
    link.state.ConnectionType = clink::ParallelPort;
    link.spi.InitializePort();
}

UsbRig::UsbRig() {
    link.state.ConnectionType = clink::Usb;
    link.usb.setDevice(device);
    link.usb.OpenDevice();
    link.usb.ConfigureDevice();
}

} // namespace benchsupport
