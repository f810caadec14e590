#pragma once
// The logic I/O feature's module: owns the one logic program (LogicRungs) and the batch table that both
// rung-table editors, the logic transfer and the settings collection work on, and holds the services
// they use. Built once in the composition root, after the ladder module.
//
// Every editor over the module reports its changes to the rungs here, so each window that shows them
// (both editors may be open at once, and the settings collection receives into the same rungs) can show
// them again.

#include "logicio/batchtable.h"
#include "logicio/logicrung.h"

#include <QObject>

namespace app {
class AppServices;
}

namespace logicio {

class LogicModule : public QObject {
    Q_OBJECT
public:
    explicit LogicModule(app::AppServices& services) : services_(services) {}

    app::AppServices& services() { return services_; }
    // Rungs 1..20 of the program-wide logic program.
    LogicRungs& rungs() { return rungs_; }
    // The program-wide batch counting table, 0 at start.
    BatchTable& batchTable() { return batchTable_; }

    // An editor changed the rungs (an edit, a refresh, a clear).
    void rungsEdited() { emit rungsChanged(); }

signals:
    void rungsChanged();

private:
    app::AppServices& services_;
    LogicRungs rungs_;
    BatchTable batchTable_;
};

} // namespace logicio
