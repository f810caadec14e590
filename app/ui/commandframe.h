#pragma once
// The command frame every service command of the main window runs in: the progress bar, a new report window
// and the menu bindings. What a command says to the controller lives in its session (app/sessions,
// widget-free), which holds the busy state while it talks (the main window then disables its menus and MDI
// area and shows the busy cursor); a command group binds the menu to the session and shows what it returns:
//
//   void ToolCommands::mnuReadToolParameters_Click() {
//       // A report window when lines came back (none while another command runs).
//       frame.showReport(session_.mnuReadToolParameters());
//   }
//
// and binds it in its bind():
//   frame.onMenu("mnuReadToolParameters", [this] { mnuReadToolParameters_Click(); });

#include "app/ui/barprogress.h"
#include "app/ui/frmoutput.h"
#include "app/ui/menutree.h"

#include <QMdiArea>
#include <QPointer>
#include <QString>

#include <functional>

class QProgressBar;

namespace base {
class Dialogs;
}

namespace app {

class AppContext;

// A new output window filled line by line; shown at the top left of the MDI area by show(). A report that
// is never shown (its command failed) is deleted with this object.
class Report {
public:
    Report(FrmOutput* window, QMdiArea* area);
    Report(Report&& other) noexcept;
    Report& operator=(Report&&) = delete;
    ~Report();

    void add(const QString& line);
    // The lines of a report generator, in order.
    void add(const QStringList& lines);
    void show();
    FrmOutput* window() const { return window_; }

private:
    QPointer<FrmOutput> window_;
    QPointer<QMdiArea> area_;
    bool shown_ = false;
};

class CommandFrame {
public:
    CommandFrame(AppContext& ctx, QMdiArea& mdiArea, QProgressBar& bar, MenuTree& menu);

    AppContext& ctx;

    base::Dialogs& dialogs();
    QProgressBar& Bar1() { return bar_; }
    // Bar1 as the sink of a core transfer's progress and as a command session drives it.
    CommandProgress& progress() { return barProgress_; }
    QMdiArea& mdiArea() { return mdiArea_; }

    // Binds a handler to a menu entry by its name.
    void onMenu(const QString& name, std::function<void()> handler);
    // Sets the menu items that follow the access level to the state of that level.
    void applyMenuState(int level);

    // A new report window, also kept as the main window's OutputWindow.
    [[nodiscard]] Report newReport();
    // A new report window with the lines a command session returned, shown; nothing when it returned none.
    void showReport(const ReportLines& lines);
    // The output window of the latest report command.
    FrmOutput* OutputWindow() const { return outputWindow_; }

    // A critical box with the program's title.
    void failBox(const QString& text);

private:
    QMdiArea& mdiArea_;
    QProgressBar& bar_;
    BarProgress barProgress_{bar_};
    MenuTree& menu_;
    QPointer<FrmOutput> outputWindow_;
};

// A set of menu handlers of one subject (system reports, window launchers, tool commands, ...).
class CommandGroup {
public:
    explicit CommandGroup(CommandFrame& frame) : frame(frame) {}
    virtual ~CommandGroup() = default;
    CommandGroup(const CommandGroup&) = delete;
    CommandGroup& operator=(const CommandGroup&) = delete;

    // Binds the group's handlers to their menu entries.
    virtual void bind() = 0;

protected:
    CommandFrame& frame;
};

} // namespace app
