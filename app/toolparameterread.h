#pragma once
// Reads the tool EEPROM locations of the tool parameter report (0..ToolReportLocations-1) into
// DataBuffer(0..) from an empty receive buffer, one DoEvents before each read. On the parallel port (or with
// no link chosen) the controller gets a pause after each read. The progress runs 0..ToolReportLocations
// with each location read. False at the first read that fails.

#include "base/progress.h"

namespace clink {
class ControllerLink;
}

namespace app {

// DoEvents after each read on the parallel port.
inline constexpr long ParallelReadYields = 200;

bool readToolParameterLocations(clink::ControllerLink& link, base::Progress& progress);

} // namespace app
