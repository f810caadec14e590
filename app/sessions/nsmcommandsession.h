#pragma once
// The Nsm menu's commands as the unit sees them, free of windows: the rundown clear, the clock and version
// boxes, the settings report, and the settings read for the settings window. The conversations with the unit
// are the link's (NsmExchange); this session adds the link steps before the settings reads and the boxes of
// each command's outcome. Each command holds the program busy; the caller shows the report or the window.

#include "app/sessions/commandsession.h"

namespace app {

class NsmCommandSession : public CommandSession {
public:
    using CommandSession::CommandSession;

    // The rundown data cleared in the unit (parallel-port steps whatever the link: off the parallel port no
    // answer can be read); its outcome is shown in a box. True when cleared.
    bool mnuNsmClearRundown();
    // The unit's clock in an information box. True when it was read.
    bool mnuNsmViewTimeDate();
    // The unit's software version in an information box.
    void MnuNsmViewVersion();
    // The settings read from the unit for the report (each printed text is taken from the record); none when
    // the link step or the read failed.
    ReportLines mnuNsmViewSettings();
    // The settings read from the unit for the settings window into NsmSettings; true when it may open.
    bool mnuNsmWriteSettings();
};

} // namespace app
