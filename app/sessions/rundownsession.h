#pragma once
// System > View > Rundown Data as the controller sees it: the status for the number of Psets, the Pset the
// user picks, its record and its rundown log, and the rundown report. The command holds the program busy;
// the caller shows the report lines.

#include "app/sessions/commandsession.h"

namespace app {

class RundownSession : public CommandSession {
public:
    using CommandSession::CommandSession;

    // No report when the user cancels the Pset or a read fails (its box has been shown).
    ReportLines mnuSystemReadRundownData();
    // One Pset's rundown log into DataBuffer(0..699), the progress bar following the blocks.
    bool Get_RundownData2(int pset);
};

} // namespace app
