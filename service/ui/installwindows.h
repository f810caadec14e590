#pragma once
// The service feature's windows, provided to the registry by name: the DSM terminal and the match file
// builder. Called by the composition root and by the tests.

namespace app {
class AppContext;
}

namespace service {

class ServiceModule;

void installWindows(app::AppContext& ctx, ServiceModule& module);

} // namespace service
