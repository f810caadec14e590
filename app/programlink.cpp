#include "app/programlink.h"

#include "app/accesslevels.h"
#include "app/appservices.h"
#include "link/controllerport.h"
#include "link/linkopening.h"

namespace app {

void ProgramLink::prepare() {
    clink::LinkState& s = services_.state;
    s.AckReceived = false;
    s.TransferDelay = StartupTransferDelay;
    s.PortShadow = 0;
    services_.palverin.LoadIniFiles();

    services_.palverin.access.AccessLevel = UserLevel;
    services_.palverin.BuildAccessCode();
}

bool ProgramLink::open() {
    return clink::LinkOpening(services_.link).open();
}

void ProgramLink::keepConnected() {
    clink::keepControllerConnected(services_.link);
}

void ProgramLink::release() {
    clink::releaseController(services_.link);
}

} // namespace app
