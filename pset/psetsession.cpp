// The editor's state, its control states and the File and Project menus: new project, add and remove a
// Pset, load and save the project file, the defaults a Pset receives and the choice of a curve file; and
// the commands that talk to the controller, each holding the program busy while its transfer runs.
#include "pset/psetsession.h"

#include "app/appservices.h"
#include "base/cp1252.h"
#include "base/failbox.h"
#include "base/replacedfile.h"
#include "link/linkcheck.h"
#include "pset/psetfile.h"
#include "pset/psettransfer.h"
#include "pset/psetvalues.h"

#include <algorithm>

namespace pset {

using app::PsetField;
using app::PsetTable;
using base::MessageIcon;

namespace {
const QString PsetFileFilter = QStringLiteral("Pset Files (*.Pst *.pst *.PST);;All Files (*)");
const QString CurveFileFilter = QStringLiteral("Dat Files (*.dat *.DAT);;All Files (*)");
const QString FileErrorCaption = QStringLiteral("File Error");
const QString SaveCaption = QStringLiteral("Parameter Set Save");
const QString LoadCaption = QStringLiteral("Load Parameter Set");
const QString MissingFileText = QStringLiteral("File does not exists");
const QString ProjectNotSavedText = QStringLiteral("Error - Project Not Saved");
} // namespace

PsetEditorSession::Running::Running(PsetEditorSession& session) : session_(session) {
    set(true);
}

PsetEditorSession::Running::~Running() {
    set(false);
}

PsetEditorSession::Waiting::Waiting(PsetEditorSession& session) : session_(session) {
    ++session_.waits_;
}

PsetEditorSession::Waiting::~Waiting() {
    if (--session_.waits_ == 0)
        emit session_.waitEnded();
}

void PsetEditorSession::Running::set(bool running) {
    PsetControls c = session_.controls_;
    c.running = running;
    session_.setControls(c);
}

PsetEditorSession::PsetEditorSession(app::AppServices& services, QObject* parent)
    : QObject(parent), ctx_(services),
      transfer_(std::make_unique<PsetTransfer>(ctx_, static_cast<TransferPanel&>(*this))) {
    tmrNew_.setSingleShot(true);
    tmrNew_.setInterval(NewProjectDelayMs);
    connect(&tmrNew_, &QTimer::timeout, this, &PsetEditorSession::tmrNew_Timer);
    timer1_.setSingleShot(true);
    timer1_.setInterval(StatusReadDelayMs);
    connect(&timer1_, &QTimer::timeout, this, &PsetEditorSession::Timer1_Timer);
}

PsetEditorSession::~PsetEditorSession() = default;

app::PsetTable& PsetEditorSession::table() {
    return ctx_.psetTable;
}

// ---------------------------------------------------------------------------------------------------------
// State the window shows

void PsetEditorSession::addLine(const QString& line) {
    list1_.append(line);
    emit List1Changed();
}

void PsetEditorSession::clearList() {
    list1_.clear();
    emit List1Changed();
}

void PsetEditorSession::setSelector(const PsetSelector& selector) {
    selector_ = selector;
    emit selectorChanged();
}

void PsetEditorSession::setControls(const PsetControls& controls) {
    controls_ = controls;
    emit controlsChanged();
}

void PsetEditorSession::failBox(const QString& text, const QString& caption) {
    base::failBox(ctx_.dialogs, text, caption);
}

void PsetEditorSession::Form_Load() {
    clink::LinkCheck(ctx_.link).restParallelPort();
    setSelector({});
    DisableFileMenus();
    ctx_.palverin.LoadIniFiles();
    table()[1].setText(PsetField::CurveFile, NoCurveFile);
    updatePsetList();
    DisableEditing();
}

void PsetEditorSession::Form_Unload() {
    tmrNew_.stop();
    timer1_.stop();
}

void PsetEditorSession::EnableEditing() {
    PsetControls c = controls_;
    c.mnuLoad = c.mnuSave = c.mnuProject = c.mnuStrategyMain = c.mnuSendData = true;
    c.framepset = c.cwgraph1 = true;
    setControls(c);
}

void PsetEditorSession::DisableEditing() {
    PsetControls c = controls_;
    c.mnuLoad = true;
    c.mnuSave = c.mnuProject = c.mnuStrategyMain = c.mnuSendData = false;
    c.framepset = c.cwgraph1 = false;
    setControls(c);
}

void PsetEditorSession::EnableFileMenus() {
    PsetControls c = controls_;
    c.mnuLoad = c.mnuSave = c.mnuProject = c.framepset = c.cwgraph1 = true;
    setControls(c);
}

void PsetEditorSession::DisableFileMenus() {
    PsetControls c = controls_;
    c.mnuLoad = c.mnuSave = c.mnuProject = c.framepset = c.cwgraph1 = false;
    setControls(c);
}

void PsetEditorSession::ShowTransferPanel() {
    PsetControls c = controls_;
    c.transferPanel = true;
    setControls(c);
    clearList();
}

void PsetEditorSession::HideTransferPanel() {
    PsetControls c = controls_;
    c.transferPanel = false;
    setControls(c);
}

// ---------------------------------------------------------------------------------------------------------
// Selector and records

void PsetEditorSession::setSelectorValue(int value) {
    PsetSelector s = selector_;
    s.value = std::clamp(value, s.minimum, std::max(s.minimum, s.maximum));
    setSelector(s);
    if (s.value != 0)
        showPset(s.value);
}

int PsetEditorSession::shownPset() const {
    const int n = selector_.value;
    return n >= 1 && n <= PsetTable::MaxPsets ? n : 0;
}

void PsetEditorSession::StorePsetFromEditors(int n, const EditedValues& edited) {
    // Only the project's Psets take editor values.
    if (n < 1 || n > PsetTable::MaxPsets)
        return;
    app::PsetRecord& r = table()[n];
    for (int e = 0; e < ValueEditorCount; ++e) {
        if (const std::optional<double> value = edited[std::size_t(e)])
            r.setNumber(editorField(ValueEditor(e)), *value);
    }
}

void PsetEditorSession::InitNewPset() {
    resetToInitialValues(table());
    setSelector({1, 1, 1});
    ctx_.palverin.LoadIniFiles();
}

void PsetEditorSession::SetStrategyDefaults(int n) {
    if (n >= 0 && n < PsetTable::Records)
        applyScaledDefaults(table()[n], ctx_.palverin.settings.PsetDefaults);
}

void PsetEditorSession::ApplyDefaultsToPset(int n) {
    if (n >= 0 && n < PsetTable::Records)
        applyUnroundedDefaults(table()[n], ctx_.palverin.settings.PsetDefaults);
}

void PsetEditorSession::RefreshAll() {
    InitNewPset();
    const int n = table().count();
    SetStrategyDefaults(n);
    showPset(n);
}

// ---------------------------------------------------------------------------------------------------------
// File and Project menus

void PsetEditorSession::mnuNewPset_Click() {
    InitNewPset();
    EnableFileMenus();
    EnableEditing();
    tmrNew_.start();
}

void PsetEditorSession::tmrNew_Timer() {
    tmrNew_.stop();
    RefreshAll();
}

void PsetEditorSession::mnuAddPset_Click() {
    if (selector_.value == 0) {
        table().setCount(1);
        mnuNewPset_Click();
        return;
    }
    const int count = table().count() + 1;
    if (count > PsetTable::MaxPsets || count < 1) {
        // A ninth Pset is refused without a word.
        table().setCount(std::clamp(count, 1, PsetTable::MaxPsets));
        return;
    }
    table().setCount(count);
    applyAddedPsetValues(table()[count], ctx_.palverin.settings.PsetDefaults);
    setSelector({1, count, count});
    showPset(count);
}

void PsetEditorSession::mnuRemovePset_Click() {
    const int shown = selector_.value;
    int count = table().count();
    if (count <= 1 || shown < 1)
        return;
    if (shown == count) {
        --count;
    } else if (shown < count) {
        // The Psets after the removed one move up, up to the selector's maximum (record 9 follows Pset 8).
        for (int i = shown; i <= std::min(selector_.maximum, PsetTable::MaxPsets); ++i)
            takeOverNextPset(table()[i], table()[i + 1]);
        --count;
    }
    table().setCount(count);
    const int maximum = table().count();
    setSelector({1, maximum, std::clamp(shown, 1, maximum)});
    showPset(selector_.value);
}

void PsetEditorSession::mnuSave_Click() {
    emit storeEditorsRequested();
    const QString name =
        ctx_.dialogs.saveFileName(QStringLiteral("Save Parameter Set Information"), PsetFileFilter);
    if (name.isEmpty())
        return;
    if (ctx_.palverin.FileExists(name) &&
        !ctx_.dialogs.askOkCancel(QStringLiteral("This file already exists. - Overwrite File ?"),
                                  QStringLiteral("File Exists Warning")))
        return;
    QString error;
    if (!savePsetFile(name, table(), &error))
        return failBox(base::notWrittenText(ProjectNotSavedText, name, error), SaveCaption);
    ctx_.dialogs.message(QStringLiteral("Successful - Data Stored"), SaveCaption, MessageIcon::Information);
}

void PsetEditorSession::mnuLoad_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    Running running(*this);
    const QString name = ctx_.dialogs.openFileName(QString(), PsetFileFilter);
    // A cancelled dialog leaves no name, which does not exist either.
    if (!ctx_.palverin.FileExists(name))
        return failBox(MissingFileText, FileErrorCaption);
    PsetTable loaded = table();
    QString error;
    if (!loadPsetFile(name, loaded, &error))
        return failBox(error, LoadCaption);
    for (int k = 1; k <= PsetFileRecords; ++k)
        convertToDefaultUnits(loaded[k], ctx_.palverin.settings.PsetDefaults);
    loaded.setCount(std::clamp(loaded.count(), 1, PsetTable::MaxPsets));
    table() = loaded;

    // A curve that cannot be found is reported and the project is shown all the same.
    const QString curve = projectCurvePath(table());
    if (!curve.isEmpty()) {
        if (!ctx_.palverin.FileExists(curve))
            failBox(QStringLiteral("Curve File Does Not Exist"), FileErrorCaption);
        else
            readProjectCurve(false);
    }
    showPset(1);
    setSelector({1, table().count(), 1});
    ctx_.dialogs.message(QStringLiteral("Parameters Loaded"), LoadCaption, MessageIcon::Information);
    EnableEditing();
}

void PsetEditorSession::readProjectCurve(bool announceFailure) {
    const QString path = projectCurvePath(table());
    if (path.isEmpty())
        return;
    const bool loaded = ctx_.palverin.LoadCurveFile(path, int16_t(table()[1].whole(PsetField::Units)));
    if (loaded || announceFailure)
        emit curveRead(path, loaded);
}

QString PsetEditorSession::Pset_GetFilename() {
    const QString name = ctx_.dialogs.openFileName(QStringLiteral("Load Torque Data Curve"), CurveFileFilter);
    if (name.isEmpty())
        return NoCurveFile;
    if (!ctx_.palverin.FileExists(name)) {
        failBox(MissingFileText, FileErrorCaption);
        return NoCurveFile;
    }
    // The project file keeps the path in 40 Windows-1252 bytes: a path it cannot hold is refused.
    const QByteArray bytes = base::toCp1252(name);
    if (base::fromCp1252(bytes) != name) {
        failBox(QStringLiteral("Curve File Path Has Characters A Pset File Cannot Store: ") + name,
                FileErrorCaption);
        return NoCurveFile;
    }
    if (bytes.size() > app::PsetRecord::CurveFileWidth) {
        failBox(QStringLiteral("Curve File Path Longer Than 40 Characters: ") + name, FileErrorCaption);
        return NoCurveFile;
    }
    return name;
}

// ---------------------------------------------------------------------------------------------------------
// The controller: its Pset list and current Pset, and the transfers

bool PsetEditorSession::readPsetList(StatusFailure failure) {
    if (!transfer_->readStatus(failure))
        return false;
    controllerPsets_.clear();
    for (int n = 1; n <= ctx_.state.SystemStatus.PsetCount; ++n)
        controllerPsets_.append(QString::number(n));
    emit controllerPsetsChanged();
    timer1_.start();
    return true;
}

void PsetEditorSession::updatePsetList() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        readPsetList();
}

void PsetEditorSession::Timer1_Timer() {
    timer1_.stop();
    const Waiting waiting(*this);
    readCurrentPset();
}

void PsetEditorSession::readCurrentPset() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired()) {
        // Another command is talking to the controller: read once it is done.
        timer1_.start();
        return;
    }
    if (!transfer_->readStatus())
        return;
    currentPset_ = QString::number(ctx_.state.SystemStatus.CurrentPset);
    emit currentPsetChanged();
}

void PsetEditorSession::mnuSendData_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    Running running(*this);
    // The editors may hold an edit not yet stored: what is checked is what is sent.
    emit storeEditorsRequested();
    if (!transfer_->send(table(), table2_).ok())
        return;
    readPsetList();
    HideTransferPanel();
}

void PsetEditorSession::mnuResetPsets_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        transfer_->reset();
}

void PsetEditorSession::offerPsetReset() {
    const Waiting waiting(*this);
    transfer_->reset();
}

void PsetEditorSession::mnuReceiveData_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    Running running(*this);
    clink::LinkCheck(ctx_.link).restParallelPort();
    if (!ctx_.dialogs.askYesNo(QStringLiteral("CURRENT PROJECT WILL BE ERASED!! CONTINUE?"),
                               QStringLiteral("RECEIVE CONTROLLER PARAMETER SET(S)")))
        return;
    ctx_.palverin.LoadIniFiles();
    // The received project is built apart and replaces the project only when every Pset arrived.
    PsetTable received = table();
    resetToInitialValues(received);
    applyScaledDefaults(received[received.count()], ctx_.palverin.settings.PsetDefaults);
    if (!transfer_->receive(received).ok()) {
        // The list is refreshed all the same; the failure has had its box.
        readPsetList(StatusFailure::Quiet);
        return;
    }
    table() = received;
    setSelector({1, std::max(1, table().count()), 1});
    showPset(1);
    readProjectCurve(true);
    EnableEditing();
    readPsetList();
}

void PsetEditorSession::cboList2_Click(const QString& text) {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    transfer_->select(text);
    timer1_.start();
}

void PsetEditorSession::mnuClrRun_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        transfer_->clearRundowns();
}

void PsetEditorSession::mnuSerialNumber_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        transfer_->sendSerialNumber();
}

} // namespace pset
