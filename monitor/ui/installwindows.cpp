#include "monitor/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "monitor/ui/frmgraph.h"
#include "monitor/ui/frmstats.h"

namespace monitor {

void installWindows(app::AppContext& ctx) {
    ctx.windows.provide(app::wnd::frmStats, [&ctx] { return new frmStats(ctx); });
    ctx.windows.provide(app::wnd::frmGraph, [&ctx] { return new frmGraph(ctx); });
}

} // namespace monitor
