#pragma once
// frmLogicIo: the rung-table logic I/O editor window, in both variants. The version 2 editor (registry
// name frmLogicIo, controllers of type 4) keeps *.Lio files and has a Convert menu that stays disabled;
// the batch version 3 editor (frmLogicIoB, type 5) keeps *.Bio files with the batch table beside them and
// opens the batch counting window. One class: the variant decides the caption, the lists, the menus and
// the files (LogicVersion).
//
// The window: the rung list (three items per rung: "Rung n", its input summary, its output summary), the
// inputs frame (condition lists 0, 2, 4, 6 with the operator lists 1, 3, 5 before conditions 2..4), the
// outputs frame (action lists 7..10), the progress bar Pb1 and the menus. Both frames are disabled until a
// rung is chosen in the list.
//
// A view over logicio::LogicEditor (the rung shown, the edits with their value prompts, New, the files,
// the print report, and its transfers: send, receive, factory defaults): each handler forwards
// there and shows the result. The rungs belong to the module, shared with the other editor and the
// settings collection; the window shows them again whenever any of them changes them. The editor is the
// window's own: a close asked for while a transfer, a file command or a prompt waits is carried out once it
// has returned.

#include "app/ui/closewhenidle.h"
#include "logicio/logiceditor.h"
#include "logicio/logicversion.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace base {
class Progress;
}

namespace app {
class AppContext;
}

namespace logicio {

class LogicModule;

class frmLogicIo : public QMainWindow {
    Q_OBJECT
public:
    frmLogicIo(app::AppContext& ctx, LogicModule& module, LogicVariant variant, QWidget* parent = nullptr);

    // Opening: no rung current, both frames disabled, the rungs cleared, the lists filled, the rung list
    // built, the window sized and titled, no file.
    void Form_Load();

    // The user selected an item of the rung list: a "Rung n" item makes rung n current and shows it.
    void SmartOptionList_NodeClick();
    // The user chose an entry in list index (0..10): stored into the current rung with its value.
    void Combo1_Click(int index);
    // Rung r becomes current and is shown again from the rungs.
    void RefreshRung(int r);

    // File menu.
    void mnuNew_Click();
    void mnuSave_Click();
    void mnuLoad_Click();
    void mnuPrint_Click();
    void mnuExit_Click();
    // Transfer menu: each holds the program busy while it talks to the controller.
    void mnuSendData_Click();
    void mnuRx_Click();
    void mnuDefaults_Click();
    // The batch counting window (version 3), modal.
    void mnuBatchCounting_Click();
    // The converter window, modal (the version 2 Convert menu, which stays disabled).
    void mnuConvert_Click();

    // The window opens 800 x 600.
    QSize sizeHint() const override;

    LogicEditor& editor() { return editor_; }
    // True while the window sets its lists itself.
    bool Refreshing() const { return refreshing_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildRungList();
    QWidget* buildFrames();
    void FillCombos();
    void BuildRungList();
    void InitWindow();

    // Runs a transfer command with the program busy (not while another command runs) and the progress on
    // Pb1, then marks the current rung in the list.
    void transfer(const std::function<void(base::Progress&)>& run);

    // Shows the rungs again: the summary items and the current rung's frames and lists.
    void showRungs();
    void showCurrentRung();
    // The rung list's highlight on the current rung's item.
    void followCurrentRung();
    QTreeWidgetItem* listItem(int item) const;

    app::AppContext& ctx_;
    LogicEditor editor_;
    bool refreshing_ = false;

    QTreeWidget* SmartOptionList = nullptr;
    std::array<QGroupBox*, 2> Frame1{};
    std::array<QComboBox*, LogicEditor::ListCount> Combo1{};
    QProgressBar* Pb1 = nullptr;
    app::CloseWhenIdle closer_{*this};
};

} // namespace logicio
