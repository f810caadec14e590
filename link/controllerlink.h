#pragma once
// Everything that reaches the controller, built once and shared: the link state, the drivers of the three
// links and the transactions over them.

#include "link/datatx.h"
#include "link/ethernet.h"
#include "link/ethernetlink.h"
#include "link/libftdidevice.h"
#include "link/linkclock.h"
#include "link/linkstate.h"
#include "link/portio.h"
#include "link/spi.h"
#include "link/transaction.h"
#include "link/usb.h"

#include <functional>

namespace base {
class EventPump;
class Dialogs;
} // namespace base

namespace clink {

class ControllerLink {
public:
    ControllerLink(base::EventPump& pump, base::Dialogs& dialogs, LinkClock& clock);
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    base::Dialogs& dialogs;
    LinkClock& clock;
    // The program's pump as every wait of the link sees it: bounded by the running transaction.
    TransactionPump transactions;
    base::EventPump& pump;
    LinkState state;
    EthernetLink socket;
    Ethernet ethernet;
    LibFtdiDevice ftdi; // the USB dongle; usb drives it unless given another device
    USB usb;
    // The printer port; the SPI bus drives it unless another port is plugged in (spi.usePort).
    PpdevPortIo ppdev;
    clink::spi spi;
    DataTx dataTx;

    // The Ethernet link talks over this line from now on instead of the socket (a line without a socket, for
    // a link run at the pace of its own clock and pump).
    void useEthernetLine(EthernetTransport& line) { ethernet.attach(line); }

    // Offers to reset the controller's Psets after a status that could not be taken (the Pset window
    // answers it; empty until one does).
    std::function<void()> offerPsetReset;
};

} // namespace clink
