#include "monitor/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "monitor/ui/frmgraph.h"
#include "monitor/ui/frmlogdata.h"
#include "monitor/ui/frmmonitor.h"
#include "monitor/ui/frmmonitorbuttons.h"
#include "monitor/ui/frmresults.h"
#include "monitor/ui/frmrunscreen1.h"
#include "monitor/ui/frmstats.h"
#include "monitor/ui/toolled.h"

namespace monitor {

void installWindows(app::AppContext& ctx) {
    ctx.windows.provide(app::wnd::frmStats, [&ctx] { return new frmStats(ctx); });
    ctx.windows.provide(app::wnd::frmGraph, [&ctx] { return new frmGraph(ctx); });
    // The live monitors, the run screen with its results grid, and the serial rundown logger.
    ctx.windows.provide(app::wnd::FrmMonitor, [&ctx] { return new FrmMonitor(ctx); });
    ctx.windows.provide(app::wnd::FrmMonitorButtons, [&ctx] { return new FrmMonitorButtons(ctx); });
    ctx.windows.provide(app::wnd::ToolLed, [&ctx] { return new ToolLed(ctx); });
    ctx.windows.provide(app::wnd::frmRunScreen1, [&ctx] { return new frmRunScreen1(ctx); });
    ctx.windows.provide(app::wnd::frmResults, [] { return new frmResults; });
    ctx.windows.provide(app::wnd::frmLogData, [&ctx] { return new frmLogData(ctx); });
}

} // namespace monitor
