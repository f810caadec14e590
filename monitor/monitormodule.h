#pragma once
// The monitoring feature's module: built once by the composition root after the services, in the order of
// the feature libraries. The monitor windows reach the program's services through it; state that several
// monitor windows share belongs here.

namespace app {
class AppServices;
}

namespace monitor {

class MonitorModule {
public:
    explicit MonitorModule(app::AppServices& services) : services(services) {}
    MonitorModule(const MonitorModule&) = delete;
    MonitorModule& operator=(const MonitorModule&) = delete;

    app::AppServices& services;
};

} // namespace monitor
