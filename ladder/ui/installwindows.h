#pragma once
// Provides the ladder editor window to the window registry.

namespace app {
class AppContext;
}

namespace ladder {

class LadderModule;

// frmPLCIO, over the module's editor.
void installWindows(app::AppContext& ctx, LadderModule& module);

} // namespace ladder
