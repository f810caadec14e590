#include "link/linkopening.h"

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/controllerport.h"

namespace clink {

const QString LinkOpening::ParallelFailedText =
    QStringLiteral("Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
const QString LinkOpening::ParallelFailedCaption = QStringLiteral("Connect Parallel Port");

bool LinkOpening::open() {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return openParallelPort();
    case TcpIp:
        return openEthernet();
    case Usb:
        openUsb();
        return true;
    default:
        return true;
    }
}

bool LinkOpening::openParallelPort() {
    if (!link_.spi.port().open()) {
        link_.dialogs.message(ParallelFailedText, ParallelFailedCaption, base::MessageIcon::None);
        return false;
    }
    link_.spi.InitializePort();
    return true;
}

bool LinkOpening::openEthernet() {
    EthernetTransport& socket = link_.ethernet.line();
    if (!socket.isConnected())
        reconnectController(link_);
    link_.pump.doEvents();
    const long budget = long(std::chrono::nanoseconds(ConnectWait) / base::DoEventsSlice);
    link_.pump.waitUntil(
        [&socket] {
            const int state = socket.state();
            return state != EthernetTransport::HostLookup && state != EthernetTransport::Connecting;
        },
        budget);
    // The dongle is told the program is there, connected or not.
    link_.ethernet.SendFilterFrame(ids::ConnectFilter);
    return socket.isConnected();
}

void LinkOpening::openUsb() {
    link_.usb.OpenDevice();
    link_.usb.ConfigureDevice();
}

} // namespace clink
