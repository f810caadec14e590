#pragma once
// The steps the transfers of the Pset editor, the logic editors and the ladder editor share: the link check
// for the controller's reply identifier with a command's own texts, the box that ends a command with its
// result, and a control command with its two boxes. Each editor keeps its own texts, captions and go-on
// rules and passes them in.
//
//   app::TransferChecks checks(link, dialogs);         // with app/transferlinkcheck.h for checkLink
//   if (auto ended = checks.checkLink({.texts = SendLinkTexts, .parallelCaption = base::ProgramTitle}))
//       return *ended;                        // the failure box has been shown
//   ...
//   return checks.report(app::TransferOutcome::Aborted, NotSentText, TransmitErrorCaption);
//   return checks.controlCommand(codes::RestartLogic, {SentText, RestartFailedText, TransferErrorCaption});

#include "app/transferresult.h"
#include "base/dialogs.h"

#include <QString>

#include <optional>

namespace clink {
class ControllerLink;
}

namespace app {

// The caption of the box that says a command was done.
inline const QString TransferSuccessfulCaption = QStringLiteral("Transfer Successful");

// Where a command that keeps a report writes it (the Pset editor's list on its transfer panel).
class TransferReport {
public:
    virtual ~TransferReport() = default;
    virtual void addLine(const QString& line) = 0;
    // The panel that shows the report gives way to what it replaced.
    virtual void HideTransferPanel() = 0;
};

// The line a failed check adds to the command's report before its box, by link; none where empty.
struct LinkFailLines {
    QString parallel = {};
    QString ethernet = {};
    QString usb = {};
};

// How a command reacts to a failed link check (app/transferlinkcheck.h).
struct TransferLinkCheck;

// The boxes of a control command: done (information, "Transfer Successful") or not acknowledged (critical).
struct CommandBoxes {
    QString done;
    QString failed;
    QString failedCaption;
};

class TransferChecks {
public:
    // A command with a report names it: a failed check writes its report lines there.
    TransferChecks(clink::ControllerLink& link, base::Dialogs& dialogs, TransferReport* report = nullptr)
        : link_(link), dialogs_(dialogs), report_(report) {}

    // The link check for 09EF0801: nothing when the command goes on (a failure box may have been shown),
    // else the command's result (the failure box shown).
    std::optional<TransferResult> checkLink(const TransferLinkCheck& how);
    // Shows the box that ends a command and returns the command's result.
    TransferResult report(TransferOutcome outcome, const QString& text, const QString& caption,
                          base::MessageIcon icon = base::MessageIcon::Critical);
    // Sends a control command (erase the Psets, restart the logic...) and shows whether the controller
    // acknowledged it.
    TransferResult controlCommand(int code, const CommandBoxes& boxes);

private:
    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
    TransferReport* report_;
};

} // namespace app
