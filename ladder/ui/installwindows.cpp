#include "ladder/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "ladder/laddermodule.h"
#include "ladder/ui/frmplcio.h"

namespace ladder {

void installWindows(app::AppContext& ctx, LadderModule& module) {
    ctx.windows.provide(app::wnd::frmPLCIO, [&ctx, &module] { return new frmPLCIO(ctx, module); });
}

} // namespace ladder
