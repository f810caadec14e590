#include "service/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "service/ui/dsmterm.h"
#include "service/ui/frmmatch.h"

namespace service {

void installWindows(app::AppContext& ctx, ServiceModule& module) {
    ctx.windows.provide(app::wnd::DsmTerm, [&ctx, &module] { return new DsmTerm(ctx, module); });
    ctx.windows.provide(app::wnd::frmMatch, [&ctx, &module] { return new FrmMatch(ctx, module); });
}

} // namespace service
