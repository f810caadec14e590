#pragma once
// The program's one context: the seams (dialogs, event pump, clock, value-entry dialog), the controller
// link with its state, the main module (settings, access level), the busy state, the shared value-entry
// results and the window registry. Built once in main and passed by reference; tests build their own
// with scripted seams.

#include "app/palverin2006.h"
#include "app/valueentry.h"
#include "app/windowregistry.h"
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
};

// The production seams: Qt dialogs, the Qt event pump, the steady clock and the real frmValue.
AppSeams productionSeams();

class AppContext {
public:
    explicit AppContext(AppSeams seams);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;
    ~AppContext();

private:
    AppSeams seams_;

public:
    base::Dialogs& dialogs;
    base::EventPump& pump;
    clink::LinkClock& clock;

    clink::ControllerLink link;
    clink::LinkState& state;
    // The main module: settings files, password and Pset defaults, access level, curve data.
    Palverin2006 palverin;

    // One command at a time talks to the controller.
    base::BusyState busy;
    // ValueEntryResult, ValueEntryData, ValueEntryOption and the form of frmValue.
    ValueEntry values;
    WindowRegistry windows;

    // The time of report headers.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

} // namespace app
