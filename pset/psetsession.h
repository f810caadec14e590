#pragma once
// The Pset editor without its window: the project in the shared Pset table, the Pset selector, which
// controls are usable, the transfer report List1, the controller's Pset list and current Pset, and every
// command of the editor's menus: new project, add and remove a Pset, load and save the project, and the
// commands that talk to the controller through its transfer (pset::PsetTransfer): send, receive, reset,
// select and clear the rundowns. The window (frmPset) shows this state and forwards its handlers here; the
// session tells it what to redraw through its signals.
//
//   pset::PsetEditorSession s(services);
//   module.attach(s);              // s takes the link's Pset-reset offer while it exists
//   s.Form_Load();                 // port idle, settings read, controller Pset list
//   s.mnuNewPset_Click();          // tmrNew completes the new project 100 ms later
//   s.mnuSendData_Click();         // validated, erased, four packets per Pset; report in s.List1()

#include "app/psettable.h"
#include "base/busyguard.h"
#include "pset/psetview.h"
#include "pset/transferpanel.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

namespace app {
class AppServices;
}

namespace pset {

class PsetTransfer;

// The Pset selector neCurrentPset: the shown Pset, 0 = no project.
struct PsetSelector {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
    bool operator==(const PsetSelector&) const = default;
};

// What the editor's controls show: enabled menus and frames, whether the transfer panel fTx (with
// List1) is shown in place of the graph, and whether a send, receive or load runs (the window's menus and
// buttons are off then, so that none starts twice).
struct PsetControls {
    bool mnuLoad = true;
    bool mnuSave = false;
    bool mnuProject = false;
    bool mnuStrategyMain = false;
    bool mnuSendData = false;
    bool framepset = false;
    bool cwgraph1 = false;
    bool transferPanel = false;
    bool running = false;
    bool operator==(const PsetControls&) const = default;
};

class PsetEditorSession : public QObject, private TransferPanel {
    Q_OBJECT
public:
    // The one-shot timers: tmrNew completes a new project, Timer1 reads the current Pset after the
    // controller's Pset list was refreshed or a Pset was selected.
    static constexpr int NewProjectDelayMs = 100;
    static constexpr int StatusReadDelayMs = 50;

    explicit PsetEditorSession(app::AppServices& services, QObject* parent = nullptr);
    ~PsetEditorSession() override;

    // --- what the window shows ---
    app::PsetTable& table();
    const PsetSelector& selector() const { return selector_; }
    const PsetControls& controls() const { return controls_; }
    // The transfer report.
    const QStringList& List1() const { return list1_; }
    // The controller's Psets "1".."n" (cboList2) and its current Pset (txtPset).
    const QStringList& controllerPsets() const { return controllerPsets_; }
    const QString& currentPsetText() const { return currentPset_; }
    // The scaled texts of the last send, by Pset number.
    const app::PsetTable& PsetTable2() const { return table2_; }
    bool newProjectPending() const { return tmrNew_.isActive(); }
    bool statusReadPending() const { return timer1_.isActive(); }
    // A handler the window did not start waits: Timer1's status read, or the reset the link offered;
    // waitEnded() once it has returned.
    bool waiting() const { return waits_ > 0; }

    // --- opening and control states ---
    // Port idle (parallel port), no project, file menus off, settings read, record 1's curve "None",
    // the controller's Pset list, editing off.
    void Form_Load();
    // The window closed: its one-shot timers (a new project's completion, the status read) stop with it.
    void Form_Unload();
    void EnableEditing();
    void DisableEditing();
    void EnableFileMenus();
    void DisableFileMenus();
    // The panel replaces the graph; List1 is cleared.
    void ShowTransferPanel() override;
    void HideTransferPanel() override;

    // --- the selector and the records ---
    // The user moved the selector: kept within its range; a Pset other than 0 is shown.
    void setSelectorValue(int value);
    // Copies the values the user entered into Pset n (1..8), each in its shortest decimal form cut to 10
    // characters. The fields of editors the user did not touch keep their text: showing a Pset never
    // rewrites it.
    void StorePsetFromEditors(int n, const EditedValues& edited);

    // --- the editors (ShowPset, the strategy menu, the percent and the check boxes) ---
    // What the window shows of Pset n (0..10); a percent derived from symmetric limits (not while the
    // user drives the limits through the percent) is written into the record's TqPercent when the record
    // does not hold that number already.
    std::optional<PsetView> ShowPset(int n, bool percentEdited);
    // The user chose a strategy for Pset n (0..10): the record takes the code when it is one of the eight,
    // and the angles the strategy does not use become 0. Its table entry, else nullptr.
    const StrategyEntry* setStrategy(int n, int code);
    // Pset n is shown with its strategy: the angles the strategy does not use become 0 (a value that
    // reads 0 already keeps its text); the code stays as the record holds it. Its entry, else nullptr.
    const StrategyEntry* showStrategy(int n, int code);
    // The user changed the percent of the shown Pset: its TqPercent, and its limits around the target;
    // the new limits for their editors. Nothing when no Pset 1..8 is shown.
    std::optional<TorqueLimits> NeTqPer_Change(double percent);
    // The check boxes write "1" or "0" into the shown Pset (1..8).
    void chkSoftStart_Click(bool checked);
    void chkErgo_Click(bool checked);
    // "Set To Defaults": the shown Pset gets the defaults computed from its target, and is shown again.
    void BtnSetDefaults_Click();
    // Curve > Load: the chosen curve file becomes the project's (record 1) once it was read; curveRead
    // asks for the drawing. Nothing changes when the choice is cancelled or the file cannot be read.
    void mnuCurveAdd_Click();
    // After the target was edited: the project's curve read again in the units of Pset n, not redrawn.
    void readCurveInUnitsOf(int n);
    // Records 1..8 to their initial values, selector 1..1 at 1, the settings read again.
    void InitNewPset();
    // Pset n gets the defaults scaled from its target (whole numbers) / computed without rounding.
    void SetStrategyDefaults(int n);
    void ApplyDefaultsToPset(int n);
    // InitNewPset, SetStrategyDefaults and ShowPset for the project's Pset count.
    void RefreshAll();

    // --- File and Project menus ---
    void mnuNewPset_Click();
    void tmrNew_Timer();
    void mnuAddPset_Click();
    void mnuRemovePset_Click();
    void mnuSave_Click();
    void mnuLoad_Click();
    // A curve file the user chooses, or "None".
    QString Pset_GetFilename();

    // --- the controller ---
    // The controller's Pset list from its status, then Timer1 reads its current Pset.
    void updatePsetList();
    void Timer1_Timer();
    // Send: every Pset checked, the controller's Psets erased, four packets per Pset; then the
    // controller's list again.
    void mnuSendData_Click();
    // After a Yes, erases the controller's Psets.
    void mnuResetPsets_Click();
    // The link's offer after a status that could not be taken: the reset, inside the command that read
    // the status (it holds the busy state already). A call while a reset runs is ignored.
    void offerPsetReset();
    // After a Yes, the controller's Psets replace the project once all of them arrived.
    void mnuReceiveData_Click();
    // Makes the chosen Pset ("1".."8", blanks around allowed) the controller's current one.
    void cboList2_Click(const QString& text);
    // After a Yes, erases the rundowns stored in the controller.
    void mnuClrRun_Click();
    // Asks for a serial number and sends it in the serial-number frame over Ethernet (no reply awaited).
    void mnuSerialNumber_Click();

signals:
    // Show Pset n in the editors (ShowPset).
    void showPsetRequested(int n);
    // Store the editors into the shown Pset now (StorePsetFromEditors), before the table is sent or saved.
    void storeEditorsRequested();
    void selectorChanged();
    void controlsChanged();
    void List1Changed();
    void controllerPsetsChanged();
    void currentPsetChanged();
    // The project's curve (record 1) was read with LoadCurveFile: draw it when loaded. After a load only
    // a curve that was read is announced; after a receive a curve that failed too (its values are cleared).
    void curveRead(const QString& path, bool loaded);
    void waitEnded();

private:
    void addLine(const QString& line) override;
    void clearList() override;
    void setSelector(const PsetSelector& selector);
    void setControls(const PsetControls& controls);
    void showPset(int n) { emit showPsetRequested(n); }
    void failBox(const QString& text, const QString& caption);

    bool readPsetList(StatusFailure failure = StatusFailure::Report);
    void readProjectCurve(bool announceFailure);
    // The shown Pset when it is one of the project's 1..8 records, else 0.
    int shownPset() const;
    // Marks a send, receive or load running (controls().running) for its lifetime.
    class Running {
    public:
        explicit Running(PsetEditorSession& session);
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        void set(bool running);
        PsetEditorSession& session_;
    };

    // Zeroes the angle fields of Pset n that a strategy's layout does not use.
    void zeroUnusedAngles(int n, const StrategyEntry& entry);

    void readCurrentPset();
    // Marks a handler the window did not start as waiting for its lifetime.
    class Waiting {
    public:
        explicit Waiting(PsetEditorSession& session);
        ~Waiting();
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

    private:
        PsetEditorSession& session_;
    };

    app::AppServices& ctx_;
    app::PsetTable table2_;
    PsetSelector selector_;
    PsetControls controls_;
    QStringList list1_;
    QStringList controllerPsets_;
    QString currentPset_;
    QTimer tmrNew_;
    QTimer timer1_;
    int waits_ = 0;
    // The editor's commands with the controller (pset::PsetTransfer).
    std::unique_ptr<PsetTransfer> transfer_;
};

} // namespace pset
