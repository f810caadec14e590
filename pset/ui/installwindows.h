#pragma once
// Provides the Pset windows to the window registry: the Parameter Sets editor (with its own session, which
// takes the feature's reset offer while it is open) and the default Pset values window.

namespace app {
class AppContext;
}

namespace pset {

class PsetModule;

// frmPset and frmDefaults.
void installWindows(app::AppContext& ctx, PsetModule& module);

} // namespace pset
