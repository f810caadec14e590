#include "service/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "service/servicemodule.h"
#include "service/ui/dsmterm.h"
#include "service/ui/formcalibration.h"
#include "service/ui/formnsm.h"
#include "service/ui/frmcalbuttons.h"
#include "service/ui/frmcollectsettings.h"
#include "service/ui/frmdspparameters.h"
#include "service/ui/frmmatch.h"
#include "service/ui/frmresetall.h"
#include "service/ui/frmserialout.h"
#include "service/ui/frmtestsockettray.h"
#include "service/ui/frmtesttool.h"
#include "service/ui/frmtubenut.h"

namespace service {

void installWindows(app::AppContext& ctx, ServiceModule& module) {
    ctx.windows.provide(app::wnd::DsmTerm, [&ctx, &module] { return new DsmTerm(ctx, module); });
    ctx.windows.provide(app::wnd::frmMatch, [&ctx, &module] { return new FrmMatch(ctx, module); });
    ctx.windows.provide(app::wnd::FrmDspParameters, [&ctx] { return new FrmDspParameters(ctx); });
    ctx.windows.provide(app::wnd::frmCalButtons, [&ctx] { return new frmCalButtons(ctx); });
    ctx.windows.provide(app::wnd::frmTubeNut, [&ctx] { return new frmTubeNut(ctx); });
    ctx.windows.provide(app::wnd::FormCalibration, [&ctx] { return new FormCalibration(ctx); });
    ctx.windows.provide(app::wnd::frmSerialOut, [&ctx] { return new FrmSerialOut(ctx); });
    ctx.windows.provide(app::wnd::frmResetAll, [&ctx] { return new FrmResetAll(ctx); });
    ctx.windows.provide(app::wnd::FormNsm, [&ctx] { return new FormNsm(ctx); });
    ctx.windows.provide(app::wnd::FrmTestSocketTray, [&ctx] { return new FrmTestSocketTray(ctx); });
    ctx.windows.provide(app::wnd::frmTestTool, [&ctx] { return new FrmTestTool(ctx); });
    // The settings collection drives the program cores; without them it stays a placeholder.
    if (module.cores)
        ctx.windows.provide(app::wnd::FrmCollectSettings,
                            [&ctx, &module] { return new FrmCollectSettings(ctx, module); });
}

} // namespace service
