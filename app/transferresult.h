#pragma once
// What a program transfer with the controller (send, receive, reset to factory defaults) came to, for the
// window that started it and for the settings collection, which runs a receive on its own. The transfer has
// shown its boxes already; message is the text of the box that ended it (empty when it ended without one:
// the user declined, or a receive succeeded).

#include <QString>

namespace app {

enum class TransferOutcome {
    Done,                // the controller took the program, sent it, or reset it
    Declined,            // the user answered No: nothing was changed or sent
    LinkFailed,          // the link check failed and the command ended
    WrongControllerType, // the controller's type does not fit the editor (0: it did not answer)
    Aborted,             // a block, the restart or the reset was not acknowledged or did not come
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Done;
    QString message;

    bool ok() const { return outcome == TransferOutcome::Done; }
};

} // namespace app
