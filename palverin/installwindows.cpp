#include "palverin/installwindows.h"

#include "app/ui/installwindows.h"
#include "ladder/ui/installwindows.h"
#include "logicio/ui/installwindows.h"
#include "monitor/ui/installwindows.h"
#include "pset/ui/installwindows.h"
#include "service/ui/installwindows.h"

namespace palverin {

void installWindows(app::AppContext& ctx, const FeatureModules& modules) {
    app::installWindows(ctx);
    monitor::installWindows(ctx);
    service::installWindows(ctx, modules.service);
    pset::installWindows(ctx, modules.pset);
    logicio::installWindows(ctx, modules.logicio);
    ladder::installWindows(ctx, modules.ladder);
    // Each later feature adds its installWindows() call here.
}

} // namespace palverin
