#pragma once
// The controller link on each of its three links against the in-process stand-in, for the benchmark
// programs: Ethernet over loopback TCP, the parallel port on the simulated CAN-controller chip, USB on the
// simulated serial converter.

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "sim/controllermodel.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "sim/tcpdongle.h"

namespace benchsupport {

struct LinkRig {
    base::QtEventPump pump;
    clink::SteadyLinkClock clock;
    base::UnattendedDialogs dialogs;
    sim::ControllerModel model;
    clink::ControllerLink link{pump, dialogs, clock};
};

// Connected to the stand-in's dongle (within 5 s).
struct EthernetRig : LinkRig {
    static constexpr const char* Name = "Ethernet";
    sim::TcpDongle dongle{model};
    EthernetRig();
};

// The port opened and driven idle as at start-up.
struct PpRig : LinkRig {
    static constexpr const char* Name = "ParallelPort";
    sim::SpiChip chip{&model};
    PpRig();
};

// The device opened and set up as at start-up.
struct UsbRig : LinkRig {
    static constexpr const char* Name = "Usb";
    sim::FtdiSim device{model};
    UsbRig();
};

} // namespace benchsupport
