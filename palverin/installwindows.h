#pragma once
// Installs every feature's window factories in the registry, in the order of the features' dependencies.

namespace app {
class AppContext;
}
namespace service {
class ServiceModule;
}
namespace pset {
class PsetModule;
}
namespace ladder {
class LadderModule;
}
namespace logicio {
class LogicModule;
}

namespace palverin {

// The feature modules main.cpp builds, one member each.
struct FeatureModules {
    service::ServiceModule& service;
    pset::PsetModule& pset;
    logicio::LogicModule& logicio;
    ladder::LadderModule& ladder;
};

void installWindows(app::AppContext& ctx, const FeatureModules& modules);

} // namespace palverin
