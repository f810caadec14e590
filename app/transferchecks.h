#pragma once
// The steps the program transfers of the logic editors and the ladder editor share: the link check for
// the controller's reply identifier with a command's own texts, and the box that ends a command with its
// result. Each editor keeps its own texts, captions and go-on rules and passes them in.
//
//   app::TransferChecks checks(link, dialogs);
//   if (auto ended = checks.checkLink({.texts = SendLinkTexts, .parallelCaption = base::ProgramTitle}))
//       return *ended;                        // the failure box has been shown
//   ...
//   return checks.report(app::TransferOutcome::Aborted, NotSentText, TransmitErrorCaption);

#include "app/transferresult.h"
#include "base/dialogs.h"
#include "link/linkcheck.h"

#include <QString>

#include <optional>

namespace clink {
class ControllerLink;
}

namespace app {

// How a command reacts to a failed link check. The parallel port always ends the command.
struct TransferLinkCheck {
    clink::LinkFailTexts texts;
    QString parallelCaption;     // the caption of the parallel-port failure (the others: the program's title)
    bool ethernetGoesOn = false; // a failed Ethernet check is reported and the command goes on
    bool usbGoesOn = false;      // a failed USB check is reported and the command goes on
    bool usbReopens = false;     // a failed USB check sets the device up again before its box
};

class TransferChecks {
public:
    TransferChecks(clink::ControllerLink& link, base::Dialogs& dialogs) : link_(link), dialogs_(dialogs) {}

    // The link check for 09EF0801: nothing when the command goes on (a failure box may have been shown),
    // else the command's result (the failure box shown).
    std::optional<TransferResult> checkLink(const TransferLinkCheck& how);
    // Shows the box that ends a command and returns the command's result.
    TransferResult report(TransferOutcome outcome, const QString& text, const QString& caption,
                          base::MessageIcon icon = base::MessageIcon::Critical);

private:
    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
};

} // namespace app
