#include "monitor/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "monitor/ui/frmstats.h"

namespace monitor {

void installWindows(app::AppContext& ctx) {
    ctx.windows.provide(app::wnd::frmStats, [&ctx] { return new frmStats(ctx); });
}

} // namespace monitor
