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
    link.socket.connectTo(link.state.ControllerIpAddress, controllerPortNumber(link.state.ControllerIpPort));
}

} // namespace clink
