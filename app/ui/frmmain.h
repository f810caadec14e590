#pragma once
// FrmMain: the multiple-document main window. It carries the menu tree, the MDI area for the feature and
// report windows, the progress bar Bar1 in the status bar and the Ethernet reconnect timer. Its service
// commands live in command groups (one per subject, each in its own source file) that bind their handlers
// to the menu entries through the command frame.

#include "app/ui/commandframe.h"
#include "app/ui/menutree.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <vector>

class QMdiArea;
class QProgressBar;

namespace app {

class AppContext;

// " Brenstal Palverin 2006 " followed by the version.
QString mainWindowCaption(const QString& version);

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Reconnect interval of the Ethernet link.
    static constexpr int ReconnectIntervalMs = 25000;

    explicit FrmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmMain() override;

    AppContext& ctx() { return ctx_; }
    CommandFrame& frame() { return frame_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    QProgressBar* Bar1() const { return Bar1_; }
    QTimer& Timer1() { return Timer1_; }

    // A menu entry by its name (submenus included).
    QAction* action(const QString& name) const { return menu_.actions.value(name); }
    QMenu* menu(const QString& name) const { return menu_.menus.value(name); }

    // The command group of a type, when installed.
    template <class Group> Group* group() const {
        for (const auto& g : groups_) {
            if (auto* found = dynamic_cast<Group*>(g.get()))
                return found;
        }
        return nullptr;
    }

    // Sets the menu items that follow the access level to the state of that level (1 to 3; any other
    // level changes nothing).
    void applyMenuState(int level);

    // Reads the rundown log of a Pset into DataBuffer(0..699), driving Bar1 with the block number; ok is
    // true when every block was read.
    void Get_RundownData2(int pset, bool& ok);

    // Timer tick: on the Ethernet link, reconnects a socket that is not connected.
    void Timer1_Timer();
    // File > Exit: closes the main window, which releases the link. A command waiting for the controller
    // meanwhile ends at once and quietly (the pump is stopped), and the link is released after it.
    void mnuExit_Click();
    // Releases the open link (the port on the parallel-port link, the device on USB).
    void MDIForm_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Creates the command groups; each subject adds its group here.
    void installCommandGroups();
    template <class Group> void addGroup() {
        groups_.push_back(std::make_unique<Group>(frame_));
        groups_.back()->bind();
    }
    void setBusy(bool busy);
    // While busy the MDI windows wait, except the connection window (the one that can mend a dead link).
    void setWindowsEnabled(bool enabled);
    void fillWindowList();

    AppContext& ctx_;
    QMdiArea* mdiArea_ = nullptr;
    QProgressBar* Bar1_ = nullptr;
    MenuTree menu_;
    QTimer Timer1_;
    CommandFrame frame_;
    std::vector<std::unique_ptr<CommandGroup>> groups_;
    std::vector<QAction*> windowListActions_;
    // The windows the busy state disabled.
    std::vector<QPointer<QWidget>> disabledWhileBusy_;
    // The wait cursor of the running command is set.
    bool waitCursor_ = false;
    bool unloaded_ = false;
    // The main window was closed while a command was busy: the link is released when it ends.
    bool closing_ = false;
};

} // namespace app
