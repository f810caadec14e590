#pragma once
// Provides the monitor windows to the window registry.

namespace app {
class AppContext;
}

namespace monitor {

// frmStats, frmGraph; FrmMonitor, FrmMonitorButtons, ToolLed, frmRunScreen1, frmResults, frmLogData.
void installWindows(app::AppContext& ctx);

} // namespace monitor
