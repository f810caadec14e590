#include "palverin/installwindows.h"

#include "app/ui/installwindows.h"
#include "ladder/ui/installwindows.h"
#include "logicio/ui/installwindows.h"
#include "monitor/ui/installwindows.h"
#include "pset/ui/installwindows.h"
#include "service/ui/installwindows.h"

namespace palverin {

void installWindows(app::AppContext& ctx, const FeatureModules& modules) {
    // The main window's own windows, then each feature's, every one registered under its window name.
    app::installWindows(ctx);
    monitor::installWindows(ctx);
    service::installWindows(ctx, modules.service);
    pset::installWindows(ctx, modules.pset);
    logicio::installWindows(ctx, modules.logicio);
    ladder::installWindows(ctx, modules.ladder);
}

} // namespace palverin
