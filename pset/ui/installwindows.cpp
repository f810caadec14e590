#include "pset/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "pset/psetmodule.h"
#include "pset/ui/frmdefaults.h"
#include "pset/ui/frmpset.h"

namespace pset {

void installWindows(app::AppContext& ctx, PsetModule& module) {
    ctx.windows.provide(app::wnd::frmPset, [&ctx, &module] { return new frmPset(ctx, module); });
    ctx.windows.provide(app::wnd::frmDefaults, [&ctx] { return new frmDefaults(ctx); });
}

} // namespace pset
