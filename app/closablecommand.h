#pragma once
// A command a window runs under the program's busy state while the window itself stays usable, so that the
// user can end the command by closing it (the ladder editor's transfers). The busy state names the window:
// the main menus and the other windows wait, this one does not. Once ended, the command shows nothing more
// and the exchange with the controller under way ends at once; ended between two of its exchanges (none
// under way), the next one ends as soon as it waits. The command returns as after a failure, quietly.
//
//   app::ClosableCommand command_{services, *this};
//   if (!command_.run([&] { ... the transfer ... }))
//       return;                          // another command holds the program busy: nothing ran
//   closer_.closeEvent(event, command_.running(), [this] { command_.end(); });   // in closeEvent

#include "base/dialogs.h"

#include <QTimer>

#include <functional>
#include <optional>

namespace app {

class AppServices;

class ClosableCommand {
public:
    ClosableCommand(AppServices& services, const QObject& window);

    // Runs work under the busy state; false, without running it, while another command holds the program
    // busy.
    bool run(const std::function<void()>& work);
    bool running() const { return running_; }
    // The user closed the window: the command under way ends quietly (nothing when none runs).
    void end();

private:
    AppServices& services_;
    const QObject& window_;
    bool running_ = false;
    // Ended: nothing is shown, and the exchanges are cancelled at every turn of the event loop.
    std::optional<base::StoppableDialogs::Quiet> quiet_;
    QTimer cancelAgain_;
};

} // namespace app
