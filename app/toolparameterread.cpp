#include "app/toolparameterread.h"

#include "app/reports/toolreports.h"
#include "link/tooleepromlocations.h"

namespace app {

bool readToolParameterLocations(clink::ControllerLink& link, base::Progress& progress) {
    return clink::ReadToolEepromLocations(link, ToolReportLocations, progress);
}

} // namespace app
