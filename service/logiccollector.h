#pragma once
// The logic I/O collector: asks the controller which logic system it runs and receives its program through
// that program's editor, shown meanwhile: a ladder controller (type 3) into the ladder editor, written as
// base + ".PLC" (a program of the root alone writes no file); any other into the version 2 rung-table
// editor, written as base + ".LIO". A file is written only after the receive succeeded (the receive reports
// its own failures), and an existing file only after the user answered OK to "This file already exists. -
// Overwrite File ?". The editor's window is closed once the file is written and stays open otherwise.

#include "service/collector.h"

namespace ladder {
class LadderModule;
}
namespace logicio {
class LogicModule;
}

namespace service {

class LogicIoCollector : public ServiceCollector {
public:
    // The bar at each step: after the link check, after the type query, before the receive, after the
    // overwrite question, at the end.
    static constexpr int LinkChecked = 10;
    static constexpr int TypeAsked = 20;
    static constexpr int Receiving = 60;
    static constexpr int Received = 80;
    static constexpr int Done = 100;
    // The controller type of a ladder controller.
    static constexpr int LadderControllerType = 3;
    // The nodes of a ladder program without rungs: the root alone.
    static constexpr int RootOnly = 1;

    LogicIoCollector(app::AppServices& ctx, logicio::LogicModule& logic, ladder::LadderModule& ladder)
        : ServiceCollector(ctx), logic_(logic), ladder_(ladder) {}
    bool collect(const QString& base, CollectorPage& page) override;

private:
    bool collectRungTable(const QString& path, CollectorPage& page);
    bool collectLadder(const QString& path, CollectorPage& page);
    // False when the file exists and the user answered Cancel.
    bool mayReplace(const QString& path, CollectorPage& page) const;

    logicio::LogicModule& logic_;
    ladder::LadderModule& ladder_;
};

} // namespace service
