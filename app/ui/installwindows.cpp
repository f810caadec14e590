#include "app/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "app/ui/frmmaybe.h"
#include "app/ui/frmsetconnection.h"
#include "app/ui/frmvalue2.h"

namespace app {

void installWindows(AppContext& ctx) {
    ctx.windows.provide(wnd::frmMaybe, [&ctx] { return new FrmMaybe(ctx.windows); });
    ctx.windows.provide(wnd::frmValue2, [&ctx] { return new FrmValue2(ctx); });
    // The connection window saves the chosen link with the other settings.
    ctx.windows.provide(wnd::frmSetConnection, [&ctx] {
        return new FrmSetConnection(ctx.services, ctx.busy, [&ctx] { return ctx.palverin.SaveIniFile(); });
    });
}

} // namespace app
