#pragma once
// Provides the logic I/O windows to the window registry: both rung-table editors over the feature's
// module, the batch counting window and the converter.

namespace app {
class AppContext;
}

namespace logicio {

class LogicModule;

// frmLogicIo (version 2), frmLogicIoB (version 3), frmBatchCounting and frmConvert.
void installWindows(app::AppContext& ctx, LogicModule& module);

} // namespace logicio
