#pragma once
// Reads the tool EEPROM locations of the tool parameter report (0..ToolReportLocations-1) into
// DataBuffer(0..) on the selected link (clink::ReadToolEepromLocations). The progress runs
// 0..ToolReportLocations with each location read. False at the first read that fails.

#include "base/progress.h"

namespace clink {
class ControllerLink;
}

namespace app {

bool readToolParameterLocations(clink::ControllerLink& link, base::Progress& progress);

} // namespace app
