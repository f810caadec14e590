#pragma once
// Installs every feature's window factories in the registry, in the order of the features' dependencies.

namespace app {
class AppContext;
}

namespace palverin {

void installWindows(app::AppContext& ctx);

} // namespace palverin
