#pragma once
// The Data Logger menu as the controller sees it (read on the parallel port only): a logger file of
// controller rundowns with the Pset data stored for it, and a logger file of transducer readings. The user
// picks the file and the number of records; each command holds the program busy, and the caller shows the
// report lines (the route report in a window of its own).

#include "app/sessions/commandsession.h"

namespace app {

class DataLoggerSession : public CommandSession {
public:
    // Number of records the logger panel offers.
    static constexpr int RouteRecords = 100;
    static constexpr int TransducerRecords = 350;

    using CommandSession::CommandSession;

    // No report when the user cancels, the check fails or the file cannot be printed (its box shown).
    ReportLines mnuReadDataLoggerRoute();
    ReportLines mnuReadDataLoggerXducer();

private:
    // The logger panel: file 1..20 (default 1) and records 1..records (default records). False: cancelled;
    // else the file and record count.
    bool askFile(int records, int& file, int& count);
    bool loggerCheck();
    // Reads the ten directory locations of the file into D(0..9).
    bool readDirectory(int file);
    // Reads locations first..last, appended at DataCount, the bar following the address.
    bool readLocations(int first, int last);
    // Reads the Pset block, each route read at its own place from D(5000); a failed read is reported and
    // the next one follows.
    void readPsetBlock();
};

} // namespace app
