#include "link/controllerlink.h"

namespace clink {

ControllerLink::ControllerLink(base::EventPump& pump_, base::Dialogs& dialogs_, LinkClock& clock_)
    : dialogs(dialogs_), clock(clock_), transactions(pump_, clock_), pump(transactions),
      ethernet(state, socket, transactions, clock_), usb(state, ftdi, transactions, dialogs_),
      spi(state, pump, ppdev), dataTx(*this) {
    QObject::connect(&socket, &EthernetLink::dataArrived, &socket,
                     [this](const QByteArray& bytes) { ethernet.onDataArrival(bytes); });
    QObject::connect(&socket, &EthernetLink::dataDropped, &socket, [this] { ethernet.onDataDropped(); });
    // A new connection may reach another controller: nothing learned of the last one holds for it.
    QObject::connect(&socket, &EthernetLink::stateChanged, &socket, [this, connected = false](int st) mutable {
        if (st == EthernetLink::Connected && !connected)
            ethernet.onConnected();
        connected = st == EthernetLink::Connected;
    });
    // A connection that drops ends the exchange over it at once, as a refused send does: nothing can
    // answer any more.
    QObject::connect(&socket, &EthernetLink::dropped, &socket, [this] {
        if (state.ConnectionType == TcpIp)
            transactions.refused();
    });
}

} // namespace clink
