#pragma once
// Reads tool EEPROM locations 0..count-1 into DataBuffer(0..) from an empty receive buffer, one DoEvents
// before each read. On the parallel port (or with no link chosen) the controller gets a pause after each
// read. The progress runs 0..count with each location read. False at the first read that fails.
//
//   clink::ReadToolEepromLocations(link, ToolReportLocations, progress);   // the tool parameter report's

#include "base/progress.h"

namespace clink {

class ControllerLink;

// DoEvents after each read on the parallel port.
inline constexpr long ParallelReadYields = 200;

bool ReadToolEepromLocations(ControllerLink& link, int count, base::Progress& progress);

} // namespace clink
