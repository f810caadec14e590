#include "app/toolparameterread.h"

#include "app/reports/toolreports.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace app {

bool readToolParameterLocations(clink::ControllerLink& link, base::Progress& progress) {
    clink::LinkState& s = link.state;
    progress.setRange(0, ToolReportLocations);
    link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    for (int address = 0; address < ToolReportLocations; ++address) {
        link.pump.doEvents();
        if (!link.dataTx.ReadToolEeprom(address))
            return false;
        progress.setValue(address);
        if (s.ConnectionType < clink::TcpIp)
            link.pump.pause(ParallelReadYields);
    }
    return true;
}

} // namespace app
