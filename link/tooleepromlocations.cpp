#include "link/tooleepromlocations.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace clink {

bool ReadToolEepromLocations(ControllerLink& link, int count, base::Progress& progress) {
    LinkState& s = link.state;
    progress.setRange(0, count);
    link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    for (int address = 0; address < count; ++address) {
        link.pump.doEvents();
        if (!link.dataTx.ReadToolEeprom(address))
            return false;
        progress.setValue(address);
        if (s.ConnectionType < TcpIp)
            link.pump.pause(ParallelReadYields);
    }
    return true;
}

} // namespace clink
