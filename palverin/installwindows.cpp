#include "palverin/installwindows.h"

#include "app/ui/installwindows.h"
#include "monitor/ui/installwindows.h"

namespace palverin {

void installWindows(app::AppContext& ctx) {
    app::installWindows(ctx);
    monitor::installWindows(ctx);
    // Each later feature adds its installWindows() call here.
}

} // namespace palverin
