#pragma once
// System > View as the controller sees it: the status report, the Parameter Sets report with Pset after
// Pset on the progress bar, and the controller's software version in a box. Each command holds the program
// busy; the caller shows the report lines.

#include "app/sessions/commandsession.h"

namespace app {

class SystemSession : public CommandSession {
public:
    // Range of the progress bar during the Parameter Sets report.
    static constexpr int PsetBarMaximum = 10;

    using CommandSession::CommandSession;

    ReportLines mnuReadSystemStatus();
    // A failed Pset read returns no report and leaves the bar at the last Pset read.
    ReportLines mnuSystemReadParameterSets();
    void mnuSCCVersion();
};

} // namespace app
