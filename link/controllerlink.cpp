#include "link/controllerlink.h"

namespace clink {

ControllerLink::ControllerLink(base::EventPump& pump_, base::Dialogs& dialogs_)
    : pump(pump_), dialogs(dialogs_), ethernet(state, socket, pump_), dataTx(*this) {
    QObject::connect(&socket, &EthernetLink::dataArrived, &socket,
                     [this](const QByteArray& bytes) { ethernet.onDataArrival(bytes); });
}

} // namespace clink
