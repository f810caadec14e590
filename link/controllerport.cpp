#include "link/controllerport.h"

#include "link/controllerlink.h"

namespace clink {

bool parseControllerPort(const QString& text, quint16* port) {
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

quint16 controllerPortNumber(const QString& text) {
    quint16 port = DefaultControllerPort;
    return parseControllerPort(text, &port) ? port : DefaultControllerPort;
}

void reconnectController(ControllerLink& link) {
    link.ethernet.line().connectTo(link.state.ControllerIpAddress, controllerPortNumber(link.state.ControllerIpPort));
}

void keepControllerConnected(ControllerLink& link) {
    if (link.state.ConnectionType == TcpIp && !link.ethernet.line().isConnected())
        reconnectController(link);
}

void releaseController(ControllerLink& link) {
    switch (link.state.ConnectionType) {
    case ParallelPort:
        link.spi.port().close();
        break;
    case Usb:
        link.usb.CloseDevice();
        break;
    default:
        break;
    }
}

} // namespace clink
