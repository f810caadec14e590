#include "pset/ui/frmpset.h"

#include "app/ui/appcontext.h"
#include "app/ui/objectname.h"
#include "app/ui/windowregistry.h"
#include "controls/ui/chartwidget.h"
#include "pset/curvepreview.h"
#include "pset/psetmodule.h"
#include "pset/ui/numbertextedit.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <functional>

namespace pset {

using app::named;
using controls::ChartWidget;
using controls::CursorKind;

namespace {
const QString Caption = QStringLiteral(" Brenstal - Parameter Sets");
const QString AngleSuffix = QStringLiteral(" Deg");
// Plot 1 carries the reference curve.
constexpr int CurvePlot = 1;
// The graph before a curve or a Pset sets its axes.
constexpr double InitialAxisMaximum = 100;
constexpr int GraphMinimumWidth = 420;
constexpr int GraphMinimumHeight = 300;
constexpr int EditorMinimumWidth = 100;
constexpr int StatusPanels = 3;

// The graph's cursors in their order: name, kind and colour.
struct CursorLook {
    const char* name;
    CursorKind kind;
    QColor color;
};
const std::array<CursorLook, CursorCount> Cursors = {{
    {"Targets", CursorKind::Horizontal, Qt::darkGreen},
    {"HiLimits", CursorKind::Horizontal, Qt::red},
    {"LoLimits", CursorKind::Horizontal, Qt::blue},
    {"DownShift", CursorKind::Horizontal, Qt::magenta},
    {"Threshold", CursorKind::Horizontal, Qt::darkYellow},
    {"CycleComplete", CursorKind::Horizontal, Qt::darkCyan},
    {"AngleTarget", CursorKind::Vertical, Qt::darkGreen},
    {"AngleHi", CursorKind::Vertical, Qt::red},
    {"AngleLo", CursorKind::Vertical, Qt::blue},
}};

// The editors' objectNames and labels, in ValueEditor order.
struct EditorLook {
    const char* name;
    const char* label;
};
const std::array<EditorLook, ValueEditorCount> EditorLooks = {{
    {"neTqTarget", "Tq Target"},
    {"neTqHi", "Tq Hi Limit"},
    {"neTqLo", "Tq Lo Limit"},
    {"neDown", "Tq Downshift"},
    {"neThresh", "Tq Threshold"},
    {"neCycleComplete", "Cycle Complete"},
    {"neAngleTarget", "Angle Target"},
    {"neAngleHi", "Angle Hi Limit"},
    {"neAngleLo", "Angle Lo Limit"},
    {"neFree", "Rpm Freespeed"},
    {"neDownShift", "Rpm DownShift"},
}};

QAction* addNamedAction(QMenu* menu, const QString& text, const char* name) {
    return named(menu->addAction(text), name);
}

QMenu* addNamedMenu(QMenu* parent, const QString& title, const char* name) {
    return named(parent->addMenu(title), name);
}

int graphCursor(int angleEditor) {
    return TorqueCursorCount + 1 + angleEditor;
}
} // namespace

frmPset::frmPset(app::AppContext& ctx, PsetModule& module, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), session_(ctx.services) {
    module.attach(session_);
    setObjectName(QStringLiteral("frmPset"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildProjectFrame());
    auto* work = new QHBoxLayout;
    work->addWidget(buildEditorFrame());
    work->addWidget(buildGraphPanel(), 1);
    layout->addLayout(work, 1);
    layout->addWidget(buildControllerRow());
    setCentralWidget(central);
    buildStatusBar();

    connect(&cycle_, &PsetEditCycle::tmrUpdate_Timer, this, &frmPset::tmrUpdate_Timer);
    connectSession();
    Form_Load();
}

frmPset::~frmPset() {
    if (cycle_.takePending())
        StorePsetFromEditors(session_.selector().value);
    session_.Form_Unload();
}

// ---------------------------------------------------------------------------------------------------------
// Building

QAction* frmPset::addCommand(QMenu* menu, const QString& text, const char* name,
                             void (PsetEditorSession::*handler)()) {
    QAction* action = addNamedAction(menu, text, name);
    // Every command first stores an edit still waiting for its timer into the Pset it was made in.
    connect(action, &QAction::triggered, this, [this, handler] {
        const auto scope = closer_.handler();
        flushPendingEdit();
        std::invoke(handler, session_);
    });
    return action;
}

void frmPset::buildMenus() {

    QMenu* file = named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuNewPset =
        addCommand(file, QStringLiteral("New Project"), "mnuNewPset", &PsetEditorSession::mnuNewPset_Click);
    file->addSeparator();
    mnuLoad = addCommand(file, QStringLiteral("&Load Project"), "mnuLoad", &PsetEditorSession::mnuLoad_Click);
    file->addSeparator();
    mnuSave = addCommand(file, QStringLiteral("&Save Project"), "mnuSave", &PsetEditorSession::mnuSave_Click);
    file->addSeparator();
    QAction* exit = addNamedAction(file, QStringLiteral("&Exit"), "mnuExit");
    connect(exit, &QAction::triggered, this, [this] { app::closeWindow(this); });

    mnuProject = named(menuBar()->addMenu(QStringLiteral("&Project")), "mnuProject");
    QMenu* psets = addNamedMenu(mnuProject, QStringLiteral("&ParameterSets"), "mnuPsets");
    addCommand(psets, QStringLiteral("&Add Parameter Set"), "mnuAddPset",
               &PsetEditorSession::mnuAddPset_Click);
    addCommand(psets, QStringLiteral("&Remove Parameter Set"), "mnuRemovePset",
               &PsetEditorSession::mnuRemovePset_Click);
    QMenu* curve = addNamedMenu(mnuProject, QStringLiteral("&Curve"), "mnuCurve");
    addCommand(curve, QStringLiteral("&Load"), "mnuCurveAdd", &PsetEditorSession::mnuCurveAdd_Click);

    mnuStrategyMain = named(menuBar()->addMenu(QStringLiteral("&Strategy")), "mnuStrategyMain");
    mnuStrategy = new QActionGroup(this);
    mnuStrategy->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const StrategyEntry& s : strategyTable()) {
        QAction* item = mnuStrategyMain->addAction(QString::fromLatin1(s.menuCaption));
        item->setObjectName(QStringLiteral("mnuStrategy%1").arg(s.code));
        item->setCheckable(true);
        item->setData(s.code);
        mnuStrategy->addAction(item);
        connect(item, &QAction::triggered, this, [this, code = s.code] { mnuStrategy_Click(code); });
    }

    QAction* defaults = named(menuBar()->addAction(QStringLiteral("Defaults")), "mnuDefaults");
    connect(defaults, &QAction::triggered, this, [this] {
        const auto scope = closer_.handler();
        ctx_.windows.open(app::wnd::frmDefaults);
    });

    QMenu* transfer = named(menuBar()->addMenu(QStringLiteral("File &Transfer")), "mnuFileTX");
    mnuSendData =
        addCommand(transfer, QStringLiteral("&Send"), "mnuSendData", &PsetEditorSession::mnuSendData_Click);
    addCommand(transfer, QStringLiteral("&Receive"), "mnuReceiveData",
               &PsetEditorSession::mnuReceiveData_Click);
    addCommand(transfer, QStringLiteral("Reset To Factory &Defaults"), "mnuResetPsets",
               &PsetEditorSession::mnuResetPsets_Click);
    addCommand(transfer, QStringLiteral("&Clear Rundown Information"), "mnuClrRun",
               &PsetEditorSession::mnuClrRun_Click);
    transfer->addSeparator();
    addCommand(transfer, QStringLiteral("Send Serial &Number"), "mnuSerialNumber",
               &PsetEditorSession::mnuSerialNumber_Click);
}

QWidget* frmPset::buildProjectFrame() {
    auto* frame = named(new QGroupBox(QStringLiteral("Project Settings"), this), "Frame1");
    lblStrategy = named(new QLabel(QStringLiteral("Strategy:"), frame), "lblStrategy");
    lblNumOfPsets = named(new QLabel(QStringLiteral("Number Of Psets:"), frame), "lblNumOfPsets");
    lblUnits = named(new QLabel(QStringLiteral("Units: "), frame), "lblUnits");
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(lblStrategy, 1);
    layout->addWidget(lblNumOfPsets);
    layout->addSpacing(fontMetrics().averageCharWidth() * 4);
    layout->addWidget(lblUnits);
    return frame;
}

NumberTextEdit* frmPset::addEditor(ValueEditor e, double maximum, const QString& suffix) {
    const EditorLook& look = EditorLooks[std::size_t(e)];
    auto* edit = named(new NumberTextEdit(maximum, framepset), look.name);
    edit->setSuffix(suffix);
    edit->setMinimumWidth(EditorMinimumWidth);
    editors_[std::size_t(e)] = edit;
    connect(edit, &controls::NumEdit::userEdited, this, [this, e] { cycle_.userEdited(e); });
    connect(edit, &QDoubleSpinBox::valueChanged, this, [this, e] { cycle_.valueChanged(e); });
    return edit;
}

QWidget* frmPset::buildEditorFrame() {
    framepset = named(new QGroupBox(QStringLiteral("Parameter Set Values"), this), "framepset");
    auto* grid = new QGridLayout(framepset);
    const auto addRow = [&](int row, int column, const QString& label, QWidget* field) {
        auto* caption = new QLabel(label, framepset);
        caption->setBuddy(field);
        grid->addWidget(caption, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
    };

    neCurrentPset = named(new NumberTextEdit(0, framepset), "neCurrentPset");
    neCurrentPset->setEntryDecimals(0);
    connect(neCurrentPset, &controls::NumEdit::userEdited, this, &frmPset::onSelectorEdited);
    addRow(0, 0, QStringLiteral("Parameter Set"), neCurrentPset);

    // Torques on the left, angles and speeds on the right.
    const auto label = [](ValueEditor e) { return QString::fromLatin1(EditorLooks[std::size_t(e)].label); };
    int left = 1;
    for (ValueEditor e : {ValueEditor::neTqTarget, ValueEditor::neTqHi, ValueEditor::neTqLo})
        addRow(left++, 0, label(e), addEditor(e, EditorMaximum));
    NeTqPer = named(new NumberTextEdit(PercentMaximum, framepset), "NeTqPer");
    connect(NeTqPer, &controls::NumEdit::userEdited, this, &frmPset::onPercentEdited);
    addRow(left++, 0, QStringLiteral("Tq +/- %"), NeTqPer);
    for (ValueEditor e : {ValueEditor::neDown, ValueEditor::neThresh, ValueEditor::neCycleComplete})
        addRow(left++, 0, label(e), addEditor(e, EditorMaximum));

    int right = 1;
    for (ValueEditor e : {ValueEditor::neAngleTarget, ValueEditor::neAngleHi, ValueEditor::neAngleLo})
        addRow(right++, 1, label(e), addEditor(e, EditorMaximum, AngleSuffix));
    for (ValueEditor e : {ValueEditor::neFree, ValueEditor::neDownShift})
        addRow(right++, 1, label(e), addEditor(e, EditorMaximum));
    chkSoftStart = named(new QCheckBox(QStringLiteral("Soft Start"), framepset), "chkSoftStart");
    chkErgo = named(new QCheckBox(QStringLiteral("Ergo "), framepset), "chkErgo");
    connect(chkSoftStart, &QCheckBox::clicked, this, [this](bool on) { session_.chkSoftStart_Click(on); });
    connect(chkErgo, &QCheckBox::clicked, this, [this](bool on) { session_.chkErgo_Click(on); });
    grid->addWidget(chkSoftStart, right++, 3);
    grid->addWidget(chkErgo, right++, 3);

    BtnSetDefaults = named(new QPushButton(QStringLiteral("Set To Defaults"), framepset), "BtnSetDefaults");
    connect(BtnSetDefaults, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        session_.BtnSetDefaults_Click();
    });
    const int last = std::max(left, right);
    grid->addWidget(BtnSetDefaults, last, 0, 1, 4, Qt::AlignHCenter);
    grid->setRowStretch(last + 1, 1);
    return framepset;
}

QWidget* frmPset::buildGraphPanel() {
    graphOrTransfer_ = new QStackedWidget(this);
    cwgraph1 = named(new ChartWidget(graphOrTransfer_), "cwgraph1");
    cwgraph1->setMinimumSize(GraphMinimumWidth, GraphMinimumHeight);
    cwgraph1->setAxisCaption(ChartWidget::YAxis, QStringLiteral("Torque"));
    cwgraph1->setAxisRange(ChartWidget::XAxis, 0, InitialAxisMaximum);
    cwgraph1->setAxisRange(ChartWidget::YAxis, 0, InitialAxisMaximum);
    cwgraph1->addPlot(Qt::black);
    for (const CursorLook& c : Cursors)
        cwgraph1->addCursor(QString::fromLatin1(c.name), c.kind, c.color);
    connect(cwgraph1, &ChartWidget::cursorMoved, this, &frmPset::cwgraph1_CursorChange);

    fTx = named(new QGroupBox(QStringLiteral("File Transfer Status"), graphOrTransfer_), "fTx");
    List1 = named(new QListWidget(fTx), "List1");
    auto* transfer = new QVBoxLayout(fTx);
    transfer->addWidget(List1);

    graphOrTransfer_->addWidget(cwgraph1);
    graphOrTransfer_->addWidget(fTx);
    return graphOrTransfer_;
}

QWidget* frmPset::buildControllerRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    cboList2 = named(new QComboBox(row), "cboList2");
    cboList2->setMinimumContentsLength(3);
    connect(cboList2, &QComboBox::textActivated, this, [this](const QString& text) {
        const auto scope = closer_.handler();
        session_.cboList2_Click(text);
    });
    txtPset = named(new QLineEdit(row), "txtPset");
    txtPset->setReadOnly(true);
    txtPset->setMaximumWidth(fontMetrics().averageCharWidth() * 8);
    cmdSend = named(new QPushButton(QStringLiteral("Send"), row), "cmdSend");
    connect(cmdSend, &QPushButton::clicked, this, [this] {
        const auto scope = closer_.handler();
        flushPendingEdit();
        session_.mnuSendData_Click();
    });
    auto* lblPset = named(new QLabel(QStringLiteral("Pset Select"), row), "lblPset");
    auto* lblCurrentPset = named(new QLabel(QStringLiteral("Current Pset"), row), "lblCurrentPset");
    lblPset->setBuddy(cboList2);
    lblCurrentPset->setBuddy(txtPset);
    layout->addWidget(lblPset);
    layout->addWidget(cboList2);
    layout->addSpacing(fontMetrics().averageCharWidth() * 4);
    layout->addWidget(lblCurrentPset);
    layout->addWidget(txtPset);
    layout->addStretch(1);
    layout->addWidget(cmdSend);
    return row;
}

void frmPset::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    for (int i = 0; i < StatusPanels; ++i) {
        panels_[std::size_t(i)] = new QLabel(bar);
        panels_[std::size_t(i)]->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        bar->addWidget(panels_[std::size_t(i)], i == 0 ? 2 : 1);
    }
}

void frmPset::connectSession() {
    PsetEditorSession* s = &session_;
    connect(s, &PsetEditorSession::showPsetRequested, this, &frmPset::ShowPset);
    connect(s, &PsetEditorSession::storeEditorsRequested, this,
            [this] { StorePsetFromEditors(session_.selector().value); });
    connect(s, &PsetEditorSession::selectorChanged, this, &frmPset::showSelector);
    connect(s, &PsetEditorSession::controlsChanged, this, &frmPset::showControls);
    connect(s, &PsetEditorSession::List1Changed, this, &frmPset::showList1);
    connect(s, &PsetEditorSession::controllerPsetsChanged, this, &frmPset::showControllerPsets);
    connect(s, &PsetEditorSession::currentPsetChanged, this,
            [this] { txtPset->setText(session_.currentPsetText()); });
    connect(s, &PsetEditorSession::curveRead, this, &frmPset::drawCurve);
    connect(s, &PsetEditorSession::waitEnded, this, [this] { closer_.sessionEnded(); });
}

void frmPset::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, session_.waiting());
}

// ---------------------------------------------------------------------------------------------------------
// Opening and redrawing

void frmPset::Form_Load() {
    session_.HideTransferPanel(); // the controls are shown through the session's signal
    showList1();
    showControllerPsets();
    txtPset->setText(session_.currentPsetText());
    lblNumOfPsets->setText(QStringLiteral("Number Of Psets: 0"));
    session_.Form_Load();
}

void frmPset::showSelector() {
    const PsetSelector& s = session_.selector();
    // The selector shows another Pset: its percent is derived again.
    if (s.value != 0 && s.value != int(neCurrentPset->value()))
        cycle_.selectorChanged();
    neCurrentPset->setEntryRange(s.minimum, s.maximum);
    neCurrentPset->setValue(s.value);
}

void frmPset::showControls() {
    const PsetControls& c = session_.controls();
    mnuLoad->setEnabled(c.mnuLoad);
    mnuSave->setEnabled(c.mnuSave);
    mnuProject->menuAction()->setEnabled(c.mnuProject);
    mnuStrategyMain->menuAction()->setEnabled(c.mnuStrategyMain);
    mnuSendData->setEnabled(c.mnuSendData);
    framepset->setEnabled(c.framepset);
    cwgraph1->setEnabled(c.cwgraph1);
    graphOrTransfer_->setCurrentWidget(c.transferPanel ? static_cast<QWidget*>(fTx) : cwgraph1);
    // While a send, receive or load runs nothing starts a second one.
    menuBar()->setEnabled(!c.running);
    cmdSend->setEnabled(!c.running);
    cboList2->setEnabled(!c.running);
    BtnSetDefaults->setEnabled(!c.running);
}

void frmPset::showList1() {
    List1->clear();
    List1->addItems(session_.List1());
    List1->scrollToBottom();
}

void frmPset::showControllerPsets() {
    cboList2->clear();
    cboList2->addItems(session_.controllerPsets());
}

void frmPset::drawCurve(const QString& path, bool loaded) {
    if (!loaded) {
        panels_[1]->setText(maxTorquePanel());
        panels_[2]->setText(minTorquePanel());
        return;
    }
    const CurvePreview preview = curvePreview(ctx_.palverin.curve);
    panels_[0]->setText(currentPlotPanel(path));
    cwgraph1->plotY(CurvePlot, preview.samples);
    panels_[1]->setText(preview.maxPanel);
    panels_[2]->setText(preview.minPanel);
    cwgraph1->setAxisRange(ChartWidget::XAxis, 0, preview.xMaximum);
    cwgraph1->setAxisRange(ChartWidget::YAxis, preview.yMinimum, preview.yMaximum);
}

// ---------------------------------------------------------------------------------------------------------
// Showing and storing a Pset

void frmPset::ShowPset(int n) {
    const std::optional<PsetView> view = session_.ShowPset(n, cycle_.PercentEdited());
    if (!view)
        return;
    lblNumOfPsets->setText(view->numPsets);
    if (view->strategyCaption)
        lblStrategy->setText(*view->strategyCaption);
    if (view->unitsCaption)
        lblUnits->setText(*view->unitsCaption);
    for (std::size_t i = 0; i < editors_.size(); ++i)
        editors_[i]->setValue(view->editors[i]);
    chkSoftStart->setChecked(view->softStart);
    chkErgo->setChecked(view->ergo);
    if (view->percent)
        NeTqPer->setValue(*view->percent);
    for (int k = 1; k <= CursorCount; ++k) {
        const double at = editors_[std::size_t(k - 1)]->value();
        if (k <= TorqueCursorCount)
            cwgraph1->setCursorY(k, at);
        else
            cwgraph1->setCursorX(k, at);
    }
    if (view->noCurveAxes) {
        cwgraph1->setAxisMaximum(ChartWidget::XAxis, view->noCurveAxes->angle);
        cwgraph1->setAxisMaximum(ChartWidget::YAxis, view->noCurveAxes->torque);
    }
    strategySteps(n, view->strategy, StrategySource::Shown);
}

void frmPset::StorePsetFromEditors(int n) {
    // The percent and the check boxes reach the record as the user changes them.
    EditedValues edited{};
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        if (cycle_.edited(ValueEditor(i)))
            edited[i] = editors_[i]->value();
    }
    session_.StorePsetFromEditors(n, edited);
}

void frmPset::mnuStrategy_Click(int s) {
    strategySteps(session_.selector().value, s, StrategySource::Chosen);
}

void frmPset::strategySteps(int n, int s, StrategySource source) {
    if (s == 0)
        return;
    for (QAction* item : mnuStrategy->actions())
        item->setChecked(item->data().toInt() == s);
    const StrategyEntry* entry =
        source == StrategySource::Chosen ? session_.setStrategy(n, s) : session_.showStrategy(n, s);
    if (!entry)
        return;
    lblStrategy->setText(QString::fromLatin1(entry->labelCaption));
    const auto enabled = angleEditorsEnabled(entry->angles);
    for (int i = 0; i < AngleEditorCount; ++i) {
        editors_[std::size_t(FirstAngleEditor + i)]->setEnabled(enabled[std::size_t(i)]);
        cwgraph1->setCursorVisible(graphCursor(i), enabled[std::size_t(i)]);
        cwgraph1->setCursorEnabled(graphCursor(i), enabled[std::size_t(i)]);
    }
    // The angles a strategy does not use become 0, in the record (the session) and in their editors.
    for (int i = 0; i < AngleEditorCount; ++i) {
        if (!enabled[std::size_t(i)])
            editors_[std::size_t(FirstAngleEditor + i)]->setValue(0);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Editing

void frmPset::tmrUpdate_Timer() {
    const int n = session_.selector().value;
    if (n != 0) {
        StorePsetFromEditors(n);
        ShowPset(n);
        if (cycle_.TargetEdited())
            session_.readCurveInUnitsOf(n);
    }
    cycle_.finished();
}

void frmPset::flushPendingEdit() {
    if (cycle_.takePending())
        tmrUpdate_Timer();
}

void frmPset::onSelectorEdited(double value) {
    // The edit belongs to the Pset shown so far.
    flushPendingEdit();
    cycle_.selectorChanged();
    session_.setSelectorValue(int(value));
}

void frmPset::onPercentEdited(double percent) {
    flushPendingEdit();
    cycle_.percentEdited();
    NeTqPer->setValue(percent);
    const std::optional<TorqueLimits> limits = session_.NeTqPer_Change(percent);
    if (!limits)
        return;
    editor(ValueEditor::neTqHi)->setValue(limits->hi);
    editor(ValueEditor::neTqLo)->setValue(limits->lo);
}

void frmPset::cwgraph1_CursorChange(int cursor, double x, double y) {
    const std::optional<CursorEdit> edit = cursorEdit(cursor, x, y);
    if (!edit)
        return;
    // The dragged value is the user's: held to what the editor lets the user enter.
    NumberTextEdit* dragged = editor(edit->editor);
    dragged->setValue(dragged->entryValue(edit->value));
    cycle_.dragged(edit->editor);
}

} // namespace pset
