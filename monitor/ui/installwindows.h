#pragma once
// Provides the monitor windows to the window registry.

namespace app {
class AppContext;
}

namespace monitor {

// frmStats, frmGraph.
void installWindows(app::AppContext& ctx);

} // namespace monitor
