#pragma once
// How a transfer of the Pset, logic or ladder editor reacts to a failed link check (app::TransferChecks::
// checkLink): the link's failure texts of the command, the captions of its boxes and its go-on rules.

#include "app/transferchecks.h"
#include "base/dialogs.h"
#include "link/linkcheck.h"

#include <QString>

namespace app {

// How a command reacts to a failed link check. The parallel port always ends the command. The box of a
// USB failure has the program's title.
struct TransferLinkCheck {
    clink::LinkFailTexts texts;
    QString parallelCaption;                      // the caption of the parallel-port failure
    QString ethernetCaption = base::ProgramTitle; // the caption of the Ethernet failure
    bool ethernetGoesOn = false; // a failed Ethernet check is reported and the command goes on
    bool usbGoesOn = false;      // a failed USB check is reported and the command goes on
    bool usbReopens = false;     // a failed USB check sets the device up again before its box
    // For a command with a report: its line before the box, and a parallel-port failure hides the
    // report after its box.
    LinkFailLines reportLines = {};
    bool parallelHidesReport = false;
};

} // namespace app
