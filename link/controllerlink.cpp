#include "link/controllerlink.h"

namespace clink {

ControllerLink::ControllerLink(base::EventPump& pump_, base::Dialogs& dialogs_, LinkClock& clock_)
    : dialogs(dialogs_), clock(clock_), transactions(pump_, clock_), pump(transactions),
      ethernet(state, socket, transactions, clock_), usb(state, ftdi, transactions, dialogs_),
      spi(state, pump, ppdev), dataTx(*this) {}

} // namespace clink
