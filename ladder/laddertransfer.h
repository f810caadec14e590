#pragma once
// The Transfer commands of the ladder editor: send the program to a type-3 controller and restart its logic,
// receive the controller's program into the editor, and reset the controller's ladder to its factory
// defaults. Each checks the link for the controller's reply identifier (09EF0801) with its own texts, asks
// its question without an icon and reports in boxes; it returns what it came to, so the settings collection
// can run a receive and trust its result.
//
// The caller holds the busy state for the whole command (the editor and the menus stay disabled while it
// talks to the controller); the commands take no busy guard of their own.
//
//   ladder::LadderTransfer transfer(services, module.editor());
//   const app::TransferResult result = transfer.receive(progress);   // progress: the editor's bar
//   if (result.ok()) ... the editor holds the controller's program ...

#include "app/transferchecks.h"
#include "app/transferresult.h"
#include "base/dialogs.h"
#include "base/progress.h"
#include "link/programreceive.h"

#include <QString>

#include <functional>
#include <optional>

namespace app {
class AppServices;
} // namespace app

namespace clink {
class ControllerLink;
struct BlockReceiveCounts;
} // namespace clink

namespace ladder {

class LadderEditor;

inline const QString SendQuestion = QStringLiteral("ALL CURRENT LOGIC I/O WILL BE ERASED!! CONTINUE?");
inline const QString SendCaption = QStringLiteral("SEND NEW LOGIC I/O TO CONTROLLER");
inline const QString ReceiveQuestion =
    QStringLiteral("A NEW PROJECT WILL BE CREATED AND THE CURRENT PROJECT WILL BE ERASED! CONTINUE?");
inline const QString ReceiveCaption = QStringLiteral("RECEIVE LOGIC I/O FROM CONTROLLER");
inline const QString DefaultsQuestion = SendQuestion;
inline const QString DefaultsCaption = QStringLiteral("SET LOGIC I/O TO FACTORY DEFAULTS");

inline const QString IncorrectVersionText =
    QStringLiteral("Unable To Send Data To Controller -> Incorrect Version");
inline const QString TransferErrorCaption = QStringLiteral("Transfer Error");
inline const QString ConfigurationErrorCaption = QStringLiteral("Configuration Error");
using app::TransferSuccessfulCaption;
inline const QString SentText = QStringLiteral("Parameter Sent and Restarted Successfully");
inline const QString NotSentText = QStringLiteral("Logic I/O Not Sent");
inline const QString RestartFailedText = QStringLiteral("Restart Not Received - Reset Aborted");
inline const QString NotReceivedText = QStringLiteral("Logic I/O Not Received - Transfer Aborted");
inline const QString ReceiveErrorCaption = QStringLiteral("Receive Error");
inline const QString DongleFailedText = QStringLiteral("Unable To Configure CanDongle - Transfer Failed");
inline const QString ResetDoneText = QStringLiteral("Logic Reset Successfully");
inline const QString ResetFailedText = QStringLiteral("Reset Not Received - Reset Aborted");
inline const QString EditorEthernetDownText = QStringLiteral("Cannot connect using ethernet");

// The controller types the ladder editor serves (the ladder controller is type 3).
inline constexpr int LowestLadderType = 1;
inline constexpr int HighestLadderType = 3;
// The received image: blocks 0..109 of six slots.
inline constexpr int LastReceiveBlock = clink::ProgramReceive::LadderLastBlock;

// How the ladder editor's receive waits for each block, by link (the link's counts for it).
clink::BlockReceiveCounts ladderReceiveCounts();

// What opening the editor window does on the link: on the parallel port the port is put at rest (data
// register 0, chip select high); over Ethernet a socket that is not connected is reported ("Cannot connect
// using ethernet", critical, the program's title) and the editor opens all the same. PortShadow ends at 0.
void prepareLinkForEditor(clink::ControllerLink& link, base::Dialogs& dialogs);

class LadderTransfer {
public:
    LadderTransfer(clink::ControllerLink& link, base::Dialogs& dialogs, LadderEditor& editor);
    LadderTransfer(app::AppServices& services, LadderEditor& editor);

    // Send: link check, the controller's type (1..3), the trace cleared, the question, the image built (a
    // program that cannot be sent is refused before anything goes out) with its trace, the link checked
    // again, the header, four frames per rung, the preset frames when presets are used, then the logic
    // restart. The progress runs 0..4 x rungs + 1 over the header and the rung frames. The tree stays as
    // it is; a send that fails part-way leaves the controller with the frames acknowledged so far, no
    // restart, the trace and the progress where they were.
    app::TransferResult send(base::Progress& progress);
    // Receive: link check, the controller's type, the question (only when the tree holds more than the
    // root), a new project, blocks 0..109 each at its own place, then the tree rebuilt ("Logic I/O
    // Transfer Completed"). A failed read leaves the empty new project and the progress at the block that
    // did not come.
    app::TransferResult receive(base::Progress& progress);
    // Factory defaults: the trace cleared, the question, link check, the reset command; the project is
    // cleared only once the controller has acknowledged it.
    app::TransferResult resetToFactoryDefaults();

    // The user ended the command under way (its window closed): the exchange under way ends at once, and a
    // send or receive stops before its next frame or block, as after one that failed.
    void cancel();

    app::TransferResult send() {
        base::NoProgress none;
        return send(none);
    }
    app::TransferResult receive() {
        base::NoProgress none;
        return receive(none);
    }

private:
    // Nothing when the controller's type fits the editor, else the result (the version box shown).
    std::optional<app::TransferResult> checkControllerType();
    // "Unable To Configure " followed by the stored controller address, and a tail.
    QString configureAddressText(const QString& tail = {}) const;
    // Whether the command under way was ended, for the link's send and receive; false again at every start.
    std::function<bool()> ended() {
        return [this] { return cancelled_; };
    }

    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
    app::TransferChecks checks_;
    LadderEditor& editor_;
    bool cancelled_ = false;
};

} // namespace ladder
