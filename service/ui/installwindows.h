#pragma once
// The service feature's windows, provided to the registry by name: the DSM terminal, the match file
// builder, the DSP parameter editor, the button and manual torque calibrations, the tube-nut settings and
// the device windows and the settings collection. Called by the composition root and by the tests.

namespace app {
class AppContext;
}

namespace service {

class ServiceModule;

void installWindows(app::AppContext& ctx, ServiceModule& module);

} // namespace service
