#pragma once
// The logic I/O feature's module: owns the one logic program (LogicRungs) and the batch table that both
// rung-table editors, the logic transfer and the settings collection work on, and holds the services
// they use. Built once in the composition root, after the ladder module.

#include "logicio/batchtable.h"
#include "logicio/logicrung.h"

namespace app {
class AppServices;
}

namespace logicio {

class LogicModule {
public:
    explicit LogicModule(app::AppServices& services) : services_(services) {}
    LogicModule(const LogicModule&) = delete;
    LogicModule& operator=(const LogicModule&) = delete;

    app::AppServices& services() { return services_; }
    // Rungs 1..20 of the program-wide logic program.
    LogicRungs& rungs() { return rungs_; }
    // The program-wide batch counting table, 0 at start.
    BatchTable& batchTable() { return batchTable_; }

private:
    app::AppServices& services_;
    LogicRungs rungs_;
    BatchTable batchTable_;
};

} // namespace logicio
