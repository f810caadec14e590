#pragma once
// frmPset: the Parameter Sets window. The Pset selector, the value editors with the percent editor and
// the two check boxes, the strategy menu that lays out the angle editors, the graph with the project's
// reference curve and nine cursors that set the limits by dragging, the transfer report in place of the
// graph during transfers, the controller's Pset list and current Pset, and the File, Project, Strategy,
// Defaults and File Transfer menus.
//
// A view over the editor's session (pset::PsetEditorSession, the window's own): every handler forwards to
// it, and the window redraws from its signals. Edits reach the shown Pset through the update cycle
// (pset::PsetEditCycle): 50 ms after an edit the editors are stored and the Pset shown again. A close asked
// for while a handler of the window or a wait of the session (its status read, an offered reset) is under
// way is carried out once it has returned.

#include "app/ui/closewhenidle.h"
#include "pset/editcycle.h"
#include "pset/psetsession.h"

#include <QMainWindow>

#include <array>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace app {
class AppContext;
}
namespace controls {
class ChartWidget;
class NumEdit;
} // namespace controls

namespace pset {

class NumberTextEdit;
class PsetModule;

class frmPset : public QMainWindow {
    Q_OBJECT
public:
    frmPset(app::AppContext& ctx, PsetModule& module, QWidget* parent = nullptr);
    // An edit still waiting for its timer is stored into its Pset; the session's timers stop.
    ~frmPset() override;

    // Opening: a fresh window shows its graph; the session puts the port at rest, reads the settings and
    // the controller's Psets, and leaves editing off until a project exists.
    void Form_Load();

    // Shows Pset n in the editors, the labels, the graph's cursors and axes, and runs its strategy steps.
    void ShowPset(int n);
    // Copies the editors the user changed into Pset n.
    void StorePsetFromEditors(int n);
    // The strategy menu: checks item s; for one of the eight strategies gives it to the shown Pset and
    // lays out the angle editors and cursors (the editors it does not use are set to 0).
    void mnuStrategy_Click(int s);
    // The update cycle's timer: store the editors into the shown Pset and show it again.
    void tmrUpdate_Timer();
    // A graph cursor was dragged: its editor takes the position.
    void cwgraph1_CursorChange(int cursor, double x, double y);

    PsetEditorSession& session() { return session_; }
    const PsetEditCycle& cycle() const { return cycle_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // A menu item that forwards to a session command.
    QAction* addCommand(QMenu* menu, const QString& text, const char* name,
                        void (PsetEditorSession::*handler)());
    QWidget* buildProjectFrame();
    QWidget* buildEditorFrame();
    QWidget* buildGraphPanel();
    QWidget* buildControllerRow();
    void buildStatusBar();
    void connectSession();

    NumberTextEdit* addEditor(ValueEditor editor, double maximum, const QString& suffix = {});
    NumberTextEdit* editor(ValueEditor e) const { return editors_[std::size_t(e)]; }
    // Runs the strategy steps for Pset n: when it is shown, or for the user's choice of strategy s (only
    // a choice writes the code).
    enum class StrategySource { Shown, Chosen };
    void strategySteps(int n, int s, StrategySource source);
    // Stores and shows a pending edit at once, before a command changes the table or the shown Pset.
    void flushPendingEdit();
    void onSelectorEdited(double value);
    void onPercentEdited(double percent);

    // Redraws from the session's state.
    void showSelector();
    void showControls();
    void showList1();
    void showControllerPsets();
    void drawCurve(const QString& path, bool loaded);

    app::AppContext& ctx_;
    PsetEditorSession session_;
    PsetEditCycle cycle_;
    app::CloseWhenIdle closer_{*this};

    // Menus.
    QAction* mnuNewPset = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* mnuSave = nullptr;
    QMenu* mnuProject = nullptr;
    QMenu* mnuStrategyMain = nullptr;
    QActionGroup* mnuStrategy = nullptr;
    QAction* mnuSendData = nullptr;

    // Frames, labels and editors.
    QLabel* lblStrategy = nullptr;
    QLabel* lblNumOfPsets = nullptr;
    QLabel* lblUnits = nullptr;
    QGroupBox* framepset = nullptr;
    NumberTextEdit* neCurrentPset = nullptr;
    std::array<NumberTextEdit*, ValueEditorCount> editors_{};
    NumberTextEdit* NeTqPer = nullptr;
    QCheckBox* chkSoftStart = nullptr;
    QCheckBox* chkErgo = nullptr;
    QPushButton* BtnSetDefaults = nullptr;

    // Graph or transfer panel.
    QStackedWidget* graphOrTransfer_ = nullptr;
    controls::ChartWidget* cwgraph1 = nullptr;
    QGroupBox* fTx = nullptr;
    QListWidget* List1 = nullptr;

    // The controller's Psets.
    QComboBox* cboList2 = nullptr;
    QLineEdit* txtPset = nullptr;
    QPushButton* cmdSend = nullptr;

    // Status bar panels 1..3.
    std::array<QLabel*, 3> panels_{};
};

} // namespace pset
