#include "link/controllerlink.h"

namespace clink {

ControllerLink::ControllerLink(base::EventPump& pump_, base::Dialogs& dialogs_, LinkClock& clock_)
    : pump(pump_), dialogs(dialogs_), clock(clock_), ethernet(state, socket, pump_),
      usb(state, ftdi, pump_, dialogs_), spi(state, pump_, ppdev), dataTx(*this) {
    QObject::connect(&socket, &EthernetLink::dataArrived, &socket,
                     [this](const QByteArray& bytes) { ethernet.onDataArrival(bytes); });
}

} // namespace clink
