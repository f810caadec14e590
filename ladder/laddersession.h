#pragma once
// The ladder editor window's transfers with the controller, one at a time, as the window's session. Each
// runs under the program's busy state naming the window: the main menus and the other windows wait, while
// the window keeps its close box and Exit. A close of the window ends the transfer through cancel(), as
// every window ends its session's command: the exchange under way ends at once, the transfer stops before
// its next frame or block, and nothing more is shown; the transfer returns as after a failure. The window
// reaches the controller only through this session (ladder::LadderTransfer is the session's own).
//
//   ladder::LadderSession session_{services, editor, *this};
//   if (!session_.run([&] { session_.receive(progress); }))
//       return;                          // another command holds the program busy: nothing ran
//   closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });   // in closeEvent

#include "app/transferresult.h"
#include "base/dialogs.h"

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace app {
class AppServices;
}
namespace base {
class Progress;
}

namespace ladder {

class LadderEditor;
class LadderTransfer;

class LadderSession {
public:
    LadderSession(app::AppServices& services, LadderEditor& editor, const QObject& window);
    ~LadderSession();
    LadderSession(const LadderSession&) = delete;
    LadderSession& operator=(const LadderSession&) = delete;

    // What opening the window does on the link (ladder::prepareLinkForEditor).
    void prepareLink();

    // Runs work under the busy state; false, without running it, while another command holds the program
    // busy. The transfers below are made from within work.
    bool run(const std::function<void()>& work);
    bool running() const { return running_; }
    // The user closed the window: the transfer under way ends quietly (nothing when none runs).
    void cancel();

    // The editor's transfers (ladder::LadderTransfer).
    app::TransferResult send(base::Progress& progress);
    app::TransferResult receive(base::Progress& progress);
    app::TransferResult resetToFactoryDefaults();

private:
    app::AppServices& services_;
    const QObject& window_;
    std::unique_ptr<LadderTransfer> transfer_;
    bool running_ = false;
    // Cancelled: nothing is shown until the transfer has returned.
    std::optional<base::StoppableDialogs::Quiet> quiet_;
};

} // namespace ladder
