#pragma once
// What a window is given of the program's services, free of the link: the dialogs, the event pump, the text
// viewer, the main module (settings, login, access level, curve), the Pset table, the busy state, the value
// entry and the clock of report headers. The services as a whole come only as a handle that the window
// passes to the core sessions and modules it opens:
//
//   session_(ctx.services)          // pset::PsetEditorSession, monitor::MonitorSession, ...
//
// AppServices is not complete here, and no link/ header is a file to a window (the windows compile against a
// view of the source tree without link/, cmake/PalverinTargets.cmake): a window reaches the controller
// through a session and never through the link, its state, its socket or its devices.

#include "app/programcore.h"
#include "app/psettable.h"
#include "app/textviewer.h"
#include "app/valueentry.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/eventpump.h"

#include <QDateTime>

#include <functional>

namespace app {

class AppServices;

class WindowServices {
public:
    explicit WindowServices(AppServices& services);

    // The handle the core sessions, modules and commands are opened with.
    AppServices& services;

    // Every box and question of the program; nothing is shown any more once the pump is stopped.
    base::Dialogs& dialogs;
    // The dialogs of the seam themselves (the main window parents the real ones).
    base::Dialogs& shownDialogs() const { return shownDialogs_; }
    // The same dialogs as the rule of a closing: a window's session keeps them quiet while it is ended.
    base::StoppableDialogs& stoppableDialogs() const { return stoppableDialogs_; }
    base::EventPump& pump;
    TextViewer& textViewer;
    // The main module: settings files, password and Pset defaults, access level, curve data.
    ProgramCore& palverin;
    PsetTable& psetTable;
    // One command at a time talks to the controller.
    base::BusyState& busy;
    ValueEntry& values;
    // The time of report headers.
    std::function<QDateTime()>& now;

private:
    base::Dialogs& shownDialogs_;
    base::StoppableDialogs& stoppableDialogs_;
};

} // namespace app
