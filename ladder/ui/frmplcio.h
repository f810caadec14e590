#pragma once
// frmPLCIO: the ladder editor window for type-3 controllers. The rung tree (TreeView1), the group buttons of
// the inputs and outputs (frmInput, frmOut), the element list to place from (List1) and the where-used list
// (List2), the counter and timer presets, the trace of a send (its own list, never placed from), the progress
// bar Pb1, the status bar, and the File, Transfer and Rung menus.
//
// A view over the feature's editor session (ladder::LadderEditor, shared through the program's life): every
// handler forwards to it, to its file commands (ladder::LadderFiles) or to its transfers
// (ladder::LadderTransfer, run by the window's ladder::LadderSession under the program's busy state), and the
// window redraws from the session.
// During a transfer the window keeps only its close box and Exit: closing it ends the transfer at once and
// quietly (no box, the tree as the failed transfer leaves it), and the window goes once it has returned. A
// close asked for while a file command waits is carried out once that has returned.

#include "app/ui/closewhenidle.h"
#include "ladder/laddersession.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QModelIndex;
class QSpinBox;
class QTreeView;

namespace app {
class AppContext;
struct TransferResult;
} // namespace app
namespace base {
class Progress;
}

namespace ladder {

class LadderEditor;
class LadderModule;
class LadderTreeModel;

class frmPLCIO : public QMainWindow {
    Q_OBJECT
public:
    frmPLCIO(app::AppContext& ctx, LadderModule& module, QWidget* parent = nullptr);
    ~frmPLCIO() override;

    // Opening: a fresh project, and the port at rest (or a down socket reported).
    void Form_Load();

    // File menu.
    void mnuOpen_Click();
    void mnuNewProject_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    // Transfer menu; each holds the program busy while it talks (the main window's menus and the other
    // windows disabled, this window's editing too).
    void mnuSend_Click();
    void mnuReceive_Click();
    void mnuSetDefaults_Click();
    // Rung menu.
    void mnuAddRung_Click();
    void mnuDeleteRung_Click();
    // The user picked a node of the tree (mouse or keyboard); a rung double-clicked is renamed.
    void TreeView1_Click();
    void TreeView1_DblClick(const QModelIndex& item);
    // An entry of the element list activated (double-click or Enter): placed under the current node.
    void List1_DblClick();
    // A group button: the element list and the where-used list of its group.
    void groupButton_Click(int group);

    // The node index of the tree's current item, or -1.
    int currentNode() const;

protected:
    // Waits for a command under way; then keeps the window's place in the user's settings store unless it
    // is minimised.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildGroups();
    QWidget* buildLists();
    QWidget* buildPresets();
    // Runs a transfer under the busy state with Pb1 as its progress, then redraws; true when it succeeded.
    bool runTransfer(const std::function<app::TransferResult(base::Progress&)>& command);
    // The editing controls and menus, off while a transfer runs (Exit and the close box stay).
    void setEditing(bool on);
    // After Open and Receive: the first node after the root is scrolled into view (when there is one).
    void showFirstNode();

    // Redraws from the session.
    void showAll();
    void showTree();
    void showPresets();
    void showProjectState();
    void showElementList();
    void showTrace();

    app::AppContext& ctx_;
    LadderModule& module_;
    LadderEditor& editor_;

    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;

    // The rung tree through a model over the session's tree: the view makes a row only for what it shows.
    QTreeView* TreeView1 = nullptr;
    LadderTreeModel* model_ = nullptr;
    QGroupBox* frmInput = nullptr;
    QGroupBox* frmOut = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* lbl2 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QListWidget* lstTrace = nullptr;
    std::array<QSpinBox*, 8> cwCounter{};
    std::array<QDoubleSpinBox*, 3> cwTimer{};
    QProgressBar* Pb1 = nullptr;
    QLabel* sbPanel1 = nullptr;
    // What changes the project: off during a transfer.
    std::vector<QAction*> idleActions_;
    std::vector<QWidget*> idleWidgets_;
    // The transfers, and the one under way, which a close of the window ends.
    LadderSession session_;
    app::CloseWhenIdle closer_{*this};
};

} // namespace ladder
