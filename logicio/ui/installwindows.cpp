#include "logicio/ui/installwindows.h"

#include "app/ui/appcontext.h"
#include "logicio/logicmodule.h"
#include "logicio/ui/frmbatchcounting.h"
#include "logicio/ui/frmconvert.h"
#include "logicio/ui/frmlogicio.h"

namespace logicio {

void installWindows(app::AppContext& ctx, LogicModule& module) {
    ctx.windows.provide(app::wnd::frmLogicIo,
                        [&ctx, &module] { return new frmLogicIo(ctx, module, LogicVariant::Version2); });
    ctx.windows.provide(app::wnd::frmLogicIoB,
                        [&ctx, &module] { return new frmLogicIo(ctx, module, LogicVariant::Version3); });
    ctx.windows.provide(app::wnd::frmBatchCounting,
                        [&module] { return new frmBatchCounting(module.batchTable()); });
    ctx.windows.provide(app::wnd::frmConvert, [&ctx] { return new frmConvert(ctx.services); });
}

} // namespace logicio
