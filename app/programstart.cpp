#include "app/programstart.h"

#include "app/accesslevels.h"
#include "app/appservices.h"
#include "link/linkopening.h"

namespace app {

bool ProgramStart::run() {
    clink::LinkState& s = services_.state;
    s.AckReceived = false;
    s.TransferDelay = StartupTransferDelay;
    s.PortShadow = 0;
    services_.palverin.LoadIniFiles();

    services_.palverin.access.AccessLevel = UserLevel;
    services_.palverin.BuildAccessCode();

    return clink::LinkOpening(services_.link).open();
}

} // namespace app
