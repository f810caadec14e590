#pragma once
// The Data Logger menu (hidden and disabled in the menu bar; the handlers are complete): a logger file of
// controller rundowns with the Pset data stored for it, and a logger file of transducer readings. The
// logger is read on the parallel port only.

#include "app/reports/loggerreports.h"
#include "app/ui/commandframe.h"

namespace app {

class DataLoggerCommands : public CommandGroup {
public:
    // Number of records the logger panel offers.
    static constexpr int RouteRecords = 100;
    static constexpr int TransducerRecords = 350;

    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuReadDataLoggerRoute_Click();
    void mnuReadDataLoggerXducer_Click();

private:
    // The logger panel: file 1..20 (default 1) and records 1..records (default records). False: cancelled;
    // else the file and record count.
    bool askFile(int records, int& file, int& count);
    // Reads the ten directory locations of the file into D(0..9).
    bool readDirectory(int file);
    // Reads locations first..last, appended at DataCount, the bar following the address.
    bool readLocations(int first, int last);
    // Reads the Pset block, each route read at its own place from D(5000); a failed read is reported and
    // the next one follows.
    void readPsetBlock();
};

} // namespace app
