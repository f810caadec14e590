#pragma once
// The Transfer commands of both rung-table editors: send the rungs to the controller and restart its logic,
// receive the controller's logic into the editor, and reset the controller's logic to its factory defaults.
// Each one checks the link for the controller's reply identifier (09EF0801), asks its question without an
// icon, moves the image block by block and reports in boxes (a receive that succeeds shows none); it returns
// what it came to, so the settings collection can run a receive and trust its result.
//
// The caller holds the busy state for the whole command (the editor and the menus stay disabled while it
// talks to the controller); the commands take no busy guard of their own.
//
//   logicio::LogicTransfer transfer(ctx, editor);
//   const app::TransferResult result = transfer.receive(progress);   // progress: the editor's bar
//   if (result.ok()) ... the rungs hold the controller's program ...

#include "app/transferchecks.h"
#include "app/transferresult.h"
#include "base/dialogs.h"
#include "base/progress.h"
#include "link/linkcheck.h"

#include <QString>

#include <optional>

namespace app {
class AppServices;
} // namespace app

namespace clink {
class ControllerLink;
struct BlockReceiveCounts;
} // namespace clink

namespace logicio {

class LogicEditor;

inline const QString SendQuestion =
    QStringLiteral("ALL CURRENT LOGIC I/O IN THE CONTROLLER WILL BE ERASED!! CONTINUE?");
inline const QString SendCaption = QStringLiteral("SEND NEW LOGIC I/O TO CONTROLLER");
inline const QString ReceiveQuestion =
    QStringLiteral("A NEW PROJECT WILL BE CREATED AND THE CURRENT PROJECT WILL BE ERASED! CONTINUE?");
inline const QString ReceiveCaption = QStringLiteral("RECEIVE LOGIC I/O FROM CONTROLLER");
inline const QString DefaultsQuestion = QStringLiteral("ALL CURRENT LOGIC I/O WILL BE ERASED!! CONTINUE?");
inline const QString DefaultsCaption = QStringLiteral("SET LOGIC I/O TO FACTORY DEFAULTS");

inline const QString IncorrectVersionText =
    QStringLiteral("Unable To Send Data To Controller -> Incorrect Version");
inline const QString TransferErrorCaption = QStringLiteral("Transfer Error");
using app::TransferSuccessfulCaption;
inline const QString NotSentText = QStringLiteral("Logic I/O Not Sent");
inline const QString TransmitErrorCaption = QStringLiteral("Transmit Error");
inline const QString SentText = QStringLiteral("Logic Sent and Restarted Successfully");
inline const QString RestartFailedText = QStringLiteral("Restart Not Received - Reset Aborted");
inline const QString NotReceivedText = QStringLiteral("Logic I/O Not Received - Transfer Aborted");
inline const QString ReceiveErrorCaption = QStringLiteral("Receive Error");
inline const QString ResetDoneText = QStringLiteral("Logic Reset Successfully");
inline const QString ResetFailedText = QStringLiteral("Reset Not Received - Reset Aborted");
inline const QString ConfigurationErrorCaption = QStringLiteral("Configuration Error");

// The link check's failure texts of each command (their spellings differ).
inline const clink::LinkFailTexts SendLinkTexts = {
    .parallel = QStringLiteral("Unable To Configure CanDongle"),
    .ethernet = QStringLiteral("Unable to connect using ethernet"),
    .usb = QStringLiteral("Unable to connect using USB"),
};
inline const clink::LinkFailTexts ReceiveLinkTexts = {
    .parallel = QStringLiteral("Unable To Configure Candongle"),
    .ethernet = QStringLiteral("Unable to connect through ethernet"),
    .usb = QStringLiteral("Unable to connect through USB"),
};
inline const clink::LinkFailTexts DefaultsLinkTexts = {
    .parallel = QStringLiteral("Unable To Configure Can Dongle - Reset Aborted"),
    .ethernet = QStringLiteral("Unable to connect using ethernet"),
    .usb = QStringLiteral("Unable to connect using USB"),
};

// How the rung-table editors' receive waits for each block, by link (the link's counts for it).
clink::BlockReceiveCounts rungTableReceiveCounts(long transferDelay);

class LogicTransfer {
public:
    LogicTransfer(clink::ControllerLink& link, base::Dialogs& dialogs, LogicEditor& editor);
    LogicTransfer(app::AppServices& services, LogicEditor& editor);

    // Send: link check, the controller's type (at least the editor's), the image encoded and its listing
    // written, the question, the editor's blocks (1..105 or 1..117), then the logic restart. The rungs stay
    // as they are; a send that fails part-way leaves the controller with the blocks sent and no restart.
    app::TransferResult send(base::Progress& progress);
    // Receive: link check, the controller's type, the question, the rungs cleared, every block read, then
    // the image decoded with the texts of the controller's type (no box on success). A failed read leaves
    // the rungs cleared.
    app::TransferResult receive(base::Progress& progress);
    // Factory defaults: the question, link check, the reset command; the rungs are cleared once the
    // controller has acknowledged it.
    app::TransferResult resetToFactoryDefaults();

    app::TransferResult send() {
        base::NoProgress none;
        return send(none);
    }
    app::TransferResult receive() {
        base::NoProgress none;
        return receive(none);
    }

private:
    // The controller's type into type: nothing when it fits the editor, else the command's result (the
    // version box shown).
    std::optional<app::TransferResult> checkControllerType(int& type);

    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
    app::TransferChecks checks_;
    LogicEditor& editor_;
};

} // namespace logicio
