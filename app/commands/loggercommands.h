#pragma once
// The Data Logger menu (hidden and disabled in the menu bar; the handlers are complete): a logger file of
// controller rundowns with the Pset data stored for it, and a logger file of transducer readings. The
// handlers run the Data Logger session; the route report opens in a window of its own, the transducer
// report in the main window's report window.

#include "app/sessions/loggersession.h"
#include "app/ui/commandframe.h"

namespace app {

class DataLoggerCommands : public CommandGroup {
public:
    explicit DataLoggerCommands(CommandFrame& frame);
    void bind() override;

    void mnuReadDataLoggerRoute_Click();
    void mnuReadDataLoggerXducer_Click();

private:
    DataLoggerSession session_;
};

} // namespace app
