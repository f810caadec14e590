#pragma once
// The check a command makes before it talks to the controller, with its failure box: one of the link's
// checks (clink::LinkCheck: the dongle set up for the awaited reply on the parallel port, a filter frame or
// the connection over Ethernet, a filter frame over USB that may reopen the device) and, when it fails, its
// text in a critical box. The box's caption is the program's title unless the command names its own for the
// parallel port or Ethernet. While the program closes, or the command is being closed, the link's dialogs
// show nothing (base::StoppableDialogs): every wait has ended and the command fails quietly.
//
//   if (!app::LinkGate(link).preCheck(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen}))
//       return;                                        // the failure box has been shown
//
// A check that lets the command go on after a failure (PreCheck::ethernetGoesOnAfterFailure) shows its box
// and passes.

#include "base/dialogs.h"
#include "link/canid.h"
#include "link/linkcheck.h"

#include <QString>

namespace clink {
class ControllerLink;
}

namespace app {

// The caption of a failure box by the link chosen.
struct LinkFailCaptions {
    QString parallel = base::ProgramTitle;
    QString ethernet = base::ProgramTitle;
};

class LinkGate {
public:
    // The box goes to the link's dialogs, or to the dialogs given (an editor's own).
    explicit LinkGate(clink::ControllerLink& link, LinkFailCaptions captions = {});
    LinkGate(clink::ControllerLink& link, base::Dialogs& dialogs, LinkFailCaptions captions = {});

    // Each returns true when the command may go on; a failure has shown its box.
    bool preCheck(clink::CanId awaited, const clink::PreCheck& how = {});
    bool dongleOnly(clink::CanId awaited, const QString& failText);
    bool toolDataCheck(int ethernetCode);
    bool transducerCheck();
    // A check made by a feature's own exchange (the NSM unit's presence...).
    bool passed(const clink::LinkCheckResult& check);

private:
    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
    LinkFailCaptions captions_;
};

} // namespace app
