#pragma once
// The program's services, free of widgets: the seams (dialogs, event pump, clock, value-entry dialog, text
// viewer), the controller link with its state, the main module (settings, access level), the busy state,
// the shared value-entry results and the clock of report headers. Core code holds these; the windows hold
// the AppContext (app/ui/appcontext.h): what app::WindowServices gives of these, without the link, and the
// window registry. Built once in palverin/main.cpp and passed by reference; tests build their own with
// scripted seams.

#include "app/programcore.h"
#include "app/psettable.h"
#include "app/textviewer.h"
#include "app/valueentry.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace app {

struct AppSeams {
    std::unique_ptr<base::Dialogs> dialogs;
    std::unique_ptr<base::EventPump> pump;
    std::unique_ptr<clink::LinkClock> clock;
    std::unique_ptr<ValueEntryPrompt> valuePrompt;
    std::unique_ptr<TextViewer> textViewer;
};

class AppServices {
public:
    explicit AppServices(AppSeams seams);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;
    virtual ~AppServices();

private:
    AppSeams seams_;
    base::StoppableDialogs stoppableDialogs_;

public:
    // Every box and question of the program; nothing is shown any more once the pump is stopped.
    base::Dialogs& dialogs;
    // The dialogs of the seam themselves (the main window parents the real ones).
    base::Dialogs& shownDialogs() { return stoppableDialogs_.shown(); }
    // Nothing is shown while a base::StoppableDialogs::Quiet over these lives (a command the user ended).
    base::StoppableDialogs& stoppableDialogs() { return stoppableDialogs_; }
    base::EventPump& pump;
    clink::LinkClock& clock;
    TextViewer& textViewer;

    clink::ControllerLink link;
    clink::LinkState& state;
    // The main module: settings files, password and Pset defaults, access level, curve data.
    ProgramCore palverin;
    // The project's parameter sets, shared by the Pset editor, the data-logger route report and the
    // settings collection (their defaults are palverin.settings.PsetDefaults).
    PsetTable psetTable;

    // One command at a time talks to the controller.
    base::BusyState busy;
    // ValueEntryResult, ValueEntryData, ValueEntryOption and the form of frmValue.
    ValueEntry values;

    // The time of report headers.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

} // namespace app
