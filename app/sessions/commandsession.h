#pragma once
// What every menu command's session shares, free of widgets: the busy state, the link pre-check for the
// reply it awaits with its failure box (LinkGate), the failure and information boxes with the program's
// title, and the main window's progress bar as the command drives it. A session runs one command from its
// pre-check to its last box, holding the program busy meanwhile, and returns what the main window shows
// besides its boxes (the lines of a new report window, or whether a window opens); the command groups of the
// main window bind the menus to the sessions and show what comes back.
//
//   ReportLines ToolSession::mnuReadToolParameters() {
//       const base::BusyGuard busy(busyState());
//       if (!busy.acquired())
//           return {};                                     // another command talks to the controller
//       if (!linkGate().preCheck(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen}))
//           return {};                                     // the failure box has been shown
//       progress().start(ToolReportLocations, true);
//       if (!readToolParameterLocations(link(), progress())) {
//           failBox(QStringLiteral("Read Tool Parameters Failed"));
//           return {};
//       }
//       return makeToolParameterReport(...);               // shown in a new report window
//   }

#include "base/busyguard.h"
#include "base/progress.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace base {
class Dialogs;
}

namespace clink {
class ControllerLink;
class DataTx;
struct LinkFailTexts;
struct LinkState;
} // namespace clink

namespace app {

class AppServices;
class LinkGate;
class ValueEntry;

// The link-check failure texts of a command: its own parallel-port and Ethernet texts, the usual USB text.
clink::LinkFailTexts linkTexts(const QString& parallel, const QString& ethernet);

// The main window's progress bar as a command drives it: the range and value of a transfer, and whether
// the bar shows.
class CommandProgress : public base::Progress {
public:
    virtual void setVisible(bool visible) = 0;
    // From 0 to maximum at 0, made visible when asked.
    void start(int maximum, bool show);
};

// A progress bar nobody watches.
class NoCommandProgress final : public CommandProgress {
public:
    void setRange(int, int) override {}
    void setValue(int) override {}
    void setVisible(bool) override {}
};

// The lines of the report window a command opens; none when it opens none (it failed).
using ReportLines = std::optional<QStringList>;

class CommandSession {
public:
    CommandSession(AppServices& services, CommandProgress& progress);
    virtual ~CommandSession() = default;
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    CommandProgress& progress() { return progress_; }

protected:
    // What the session's commands use; a window that runs a command sees none of it.
    clink::ControllerLink& link();
    clink::LinkState& state();
    clink::DataTx& dataTx();
    base::Dialogs& dialogs();
    ValueEntry& values();
    // The program's busy state, which a command holds while it talks to the controller.
    base::BusyState& busyState();
    // The link's checks with the failure shown in the program's critical box.
    LinkGate linkGate();

    // A critical box with the program's title.
    void failBox(const QString& text);
    // An information box with the program's title.
    void infoBox(const QString& text);

    AppServices& services;

private:
    CommandProgress& progress_;
};

} // namespace app
