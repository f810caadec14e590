#include "monitor/ui/frmgraph.h"

#include "app/ui/appcontext.h"
#include "app/ui/windowregistry.h"
#include "base/torque.h"
#include "controls/lowpass.h"
#include "controls/ui/chartwidget.h"
#include "controls/ui/numedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace monitor {

namespace {
const QString Caption = QStringLiteral(" Brenstal - Plotforge");
const QString CursorFreeText = QStringLiteral("Cursor Mode: Free Float");
const QString CursorSnapText = QStringLiteral("Cursor Mode: Snap");
const QString ViewZoomText = QStringLiteral("View Mode: Zoom");
const QString ViewPanText = QStringLiteral("View Mode: Pan");
const QString ViewCursorText = QStringLiteral("View Mode:");
// The units option buttons, by units code.
const std::array<QString, 5> UnitCaptions = {QStringLiteral("In-Lb"), QStringLiteral("Ft-Lb"),
                                             QStringLiteral("Kg-Cm"), QStringLiteral("Kg-M"),
                                             QStringLiteral("Nm")};
// Cursor 1 is the one the window uses; cursor 2 stays hidden.
constexpr int Cursor1 = 1;
constexpr int Cursor2 = 2;
const QColor CursorColor = Qt::darkGray;
// Decimals of the limit and axis edits.
constexpr int LimitDecimals = 2;
constexpr int ChartMinimumWidth = 560;
constexpr int ChartMinimumHeight = 360;

controls::NumEdit* numEdit(const QString& name, int decimals, QWidget* parent) {
    auto* edit = new controls::NumEdit(parent);
    edit->setObjectName(name);
    edit->setDecimals(decimals);
    return edit;
}

// A limit the window shows and the user does not edit.
controls::NumEdit* limitDisplay(const QString& name, QWidget* parent) {
    controls::NumEdit* edit = numEdit(name, LimitDecimals, parent);
    edit->setReadOnly(true);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return edit;
}

constexpr int UnitColumns = 2;

QAction* menuAction(QMenu* menu, const QString& name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

QMenu* subMenu(QMenu* parent, const QString& name, const QString& title) {
    QMenu* menu = parent->addMenu(title);
    menu->setObjectName(name);
    return menu;
}
} // namespace

frmGraph::frmGraph(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), cwgraph1(new controls::ChartWidget(this)), chart_(*cwgraph1),
      session_(ctx.services, chart_, *this) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    session_.setWindow(this);

    auto* menuBar = new QMenuBar(this);
    auto topMenu = [menuBar](const QString& name, const QString& title) {
        QMenu* menu = menuBar->addMenu(title);
        menu->setObjectName(name);
        return menu;
    };
    QMenu* file = topMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuPlot = topMenu(QStringLiteral("mnuPlot"), QStringLiteral("&Plot"));
    mnuView = topMenu(QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuCursor = topMenu(QStringLiteral("mnuCursor"), QStringLiteral("&Cursor"));
    mnuTransfer = topMenu(QStringLiteral("mnuTransfer"), QStringLiteral("&Transfer"));
    buildMenus(file, mnuPlot, mnuView, mnuCursor, mnuTransfer);

    cwgraph1->setObjectName(QStringLiteral("cwgraph1"));
    cwgraph1->setMinimumSize(ChartMinimumWidth, ChartMinimumHeight);
    cwgraph1->setAxisCaption(CurveGraph::TimeAxis, QStringLiteral("Time"));
    cwgraph1->setAxisCaption(CurveGraph::TorqueAxis, QStringLiteral("Torque"));
    cwgraph1->setAxisCaption(CurveGraph::AngleAxis, QStringLiteral("Angle"));
    for (const auto& name : {QStringLiteral("Cursor 1"), QStringLiteral("Cursor 2")}) {
        const int cursor = cwgraph1->addCursor(name, controls::CursorKind::Cross, CursorColor);
        cwgraph1->setCursorVisible(cursor, false);
    }
    cwgraph1->setPointerMode(controls::PointerMode::None);

    auto* legend = new QHBoxLayout;
    for (int k = 1; k <= MaxCurvePlots; ++k) {
        auto* label = new QLabel(QStringLiteral("Plot %1").arg(k), this);
        label->setObjectName(QStringLiteral("lblPlot%1").arg(k));
        legend_[std::size_t(k - 1)] = label;
        legend->addWidget(label);
    }
    legend->addStretch();
    lblCurrentMode = new QLabel(this);
    lblCurrentMode->setObjectName(QStringLiteral("lblCurrentMode"));
    lblView = new QLabel(this);
    lblView->setObjectName(QStringLiteral("lblView"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(lblCurrentMode);
    modes->addWidget(lblView);
    modes->addStretch();

    // The progress panel takes its room from the graph, which can spare it, rather than from the column
    // of value fields, which fills the window's height.
    auto* graphSide = new QVBoxLayout;
    graphSide->addWidget(cwgraph1, 1);
    graphSide->addLayout(legend);
    graphSide->addLayout(modes);
    graphSide->addWidget(buildProgressPanel());

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(graphSide, 1);
    layout->addWidget(buildControls());

    Form_Load();
}

frmGraph::~frmGraph() = default;

void frmGraph::buildMenus(QMenu* file, QMenu* plot, QMenu* view, QMenu* cursor, QMenu* transfer) {
    auto bind = [this](QAction* action, void (frmGraph::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuLoad = bind(menuAction(file, QStringLiteral("mnuLoad"), QStringLiteral("&Load Curve")),
                   &frmGraph::mnuLoad_Click);
    bind(menuAction(file, QStringLiteral("mnuLoadCollection"), QStringLiteral("&Load Collection")),
         &frmGraph::mnuLoadCollection_Click);
    mnuPrint = menuAction(file, QStringLiteral("mnuPrint"), QStringLiteral("&Print"));
    bind(menuAction(file, QStringLiteral("mnuSaveCollection"), QStringLiteral("&Save Collection")),
         &frmGraph::mnuSaveCollection_Click);
    file->addSeparator();
    bind(menuAction(file, QStringLiteral("mnuExit"), QStringLiteral("&Exit")), &frmGraph::mnuExit_Click);

    bind(menuAction(plot, QStringLiteral("mnuAddPlot"), QStringLiteral("&Add")), &frmGraph::BtnAddPlot_Click);
    bind(menuAction(plot, QStringLiteral("mnuDeletePlot"), QStringLiteral("&Delete")),
         &frmGraph::mnuDeletePlot_Click);

    mnuZoom =
        bind(menuAction(view, QStringLiteral("mnuZoom"), QStringLiteral("&Zoom")), &frmGraph::mnuZoom_Click);
    mnuPan =
        bind(menuAction(view, QStringLiteral("mnuPan"), QStringLiteral("&Pan")), &frmGraph::mnuPan_Click);
    bind(menuAction(view, QStringLiteral("mnuZoomOut"), QStringLiteral("&Zoom Out")),
         &frmGraph::mnuZoomOut_Click);
    bind(menuAction(view, QStringLiteral("mnuAutoscale"), QStringLiteral("&Autoscale")),
         &frmGraph::mnuAutoscale_Click);

    mnuCursorOn = bind(menuAction(cursor, QStringLiteral("mnuCursorOn"), QStringLiteral("Cursor On")),
                       &frmGraph::mnuCursorOn_Click);
    QMenu* mode = subMenu(cursor, QStringLiteral("mnuMode"), QStringLiteral("&Mode"));
    mnuCFree = bind(menuAction(mode, QStringLiteral("mnuCFree"), QStringLiteral("&Free Float")),
                    &frmGraph::mnuCFree_Click);
    mnuCsnap = bind(menuAction(mode, QStringLiteral("mnuCsnap"), QStringLiteral("&Snap")),
                    &frmGraph::mnuCsnap_Click);
    for (QAction* checkable : {mnuZoom, mnuPan, mnuCursorOn, mnuCFree, mnuCsnap})
        checkable->setCheckable(true);

    QMenu* receive = subMenu(transfer, QStringLiteral("mnuReceive"), QStringLiteral("&Receive"));
    const std::array<QString, 3> curves = {QStringLiteral("&Tool Tq Curve"),
                                           QStringLiteral("&Aux Transducer Tq"), QStringLiteral("&Angle")};
    for (int curve = 1; curve <= int(curves.size()); ++curve) {
        QAction* action = menuAction(receive, QStringLiteral("mnuControllerCurve%1").arg(curve),
                                     curves[std::size_t(curve - 1)]);
        connect(action, &QAction::triggered, this, [this, curve] { mnuControllerCurve_Click(curve); });
    }
    bind(menuAction(receive, QStringLiteral("mnuDataLoggerCurve"), QStringLiteral("&Data Logger Curve")),
         &frmGraph::mnuDataLoggerCurve_Click);
}

QWidget* frmGraph::buildControls() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    auto* plotControls = new QGroupBox(QStringLiteral("Plot Controls"), panel);
    plotControls->setObjectName(QStringLiteral("framePlotControls"));
    auto* add = new QPushButton(QStringLiteral("Add"), plotControls);
    add->setObjectName(QStringLiteral("BtnAddPlot"));
    connect(add, &QPushButton::clicked, this, &frmGraph::BtnAddPlot_Click);
    auto* remove = new QPushButton(QStringLiteral("Delete"), plotControls);
    remove->setObjectName(QStringLiteral("RemovePlot"));
    connect(remove, &QPushButton::clicked, this, &frmGraph::mnuDeletePlot_Click);
    cplot = numEdit(QStringLiteral("cplot"), 0, plotControls);
    connect(cplot, &controls::NumEdit::userEdited, this, [this](double v) {
        session_.selectSlot(int(v));
        refresh();
    });
    auto* plotLayout = new QFormLayout(plotControls);
    plotLayout->addRow(add, remove);
    plotLayout->addRow(QStringLiteral("Current Plot"), cplot);
    column->addWidget(plotControls);

    auto* units = new QGroupBox(QStringLiteral("Units"), panel);
    units->setObjectName(QStringLiteral("frameUnits"));
    // Two columns of units keep the controls within the height of the work area.
    auto* unitsLayout = new QGridLayout(units);
    Option1 = new QButtonGroup(this);
    for (int code = base::LbIn; code <= base::Nm; ++code) {
        auto* option = new QRadioButton(UnitCaptions[std::size_t(code - 1)], units);
        option->setObjectName(QStringLiteral("Option1_%1").arg(code));
        option->setChecked(code == session_.DisplayUnits());
        Option1->addButton(option, code);
        const int at = code - base::LbIn;
        unitsLayout->addWidget(option, at / UnitColumns, at % UnitColumns);
    }
    connect(Option1, &QButtonGroup::idClicked, this, &frmGraph::Option1_Click);
    column->addWidget(units);

    auto* filter = new QGroupBox(QStringLiteral("Filter"), panel);
    filter->setObjectName(QStringLiteral("frameFilter"));
    chkEnableFilter = new QCheckBox(QStringLiteral("Enable Filter"), filter);
    chkEnableFilter->setObjectName(QStringLiteral("chkEnableFilter"));
    connect(chkEnableFilter, &QCheckBox::clicked, this, [this](bool checked) {
        session_.chkEnableFilter_Click(checked);
        refresh();
    });
    Order = numEdit(QStringLiteral("Order"), 0, filter);
    Order->setRange(1, controls::MaxLowpassOrder);
    Order->setValue(session_.order());
    connect(Order, &controls::NumEdit::userEdited, this, [this](double v) {
        session_.Order_ValueChanged(int(v));
        refresh();
    });
    auto* filterLayout = new QFormLayout(filter);
    filterLayout->addRow(chkEnableFilter);
    filterLayout->addRow(QStringLiteral("Order"), Order);
    column->addWidget(filter);

    auto* axes = new QGroupBox(QStringLiteral("Graph Axis"), panel);
    axes->setObjectName(QStringLiteral("frameGraphAxis"));
    Y1max = numEdit(QStringLiteral("Y1max"), LimitDecimals, axes);
    connect(Y1max, &controls::NumEdit::userEdited, this, [this](double v) {
        session_.Y1max_ValueChanged(v);
        refresh();
    });
    Y2max = numEdit(QStringLiteral("Y2max"), LimitDecimals, axes);
    connect(Y2max, &controls::NumEdit::userEdited, this, [this](double v) {
        session_.Y2max_ValueChanged(v);
        refresh();
    });
    auto* axesLayout = new QFormLayout(axes);
    axesLayout->addRow(QStringLiteral("Torque Max Limit"), Y1max);
    axesLayout->addRow(QStringLiteral("Angle Max Limit"), Y2max);
    column->addWidget(axes);

    Frame5 = new QFrame(panel);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    MinNum = limitDisplay(QStringLiteral("MinNum"), Frame5);
    MaxNum = limitDisplay(QStringLiteral("MaxNum"), Frame5);
    MinDeg = limitDisplay(QStringLiteral("MinDeg"), Frame5);
    MaxDeg = limitDisplay(QStringLiteral("MaxDeg"), Frame5);
    cwFilePoints = numEdit(QStringLiteral("cwFilePoints"), 0, Frame5);
    cwFilePoints->setRange(1, MaxCurvePoints);
    connect(cwFilePoints, &controls::NumEdit::userEdited, this,
            [this](double v) { session_.setFilePoints(int(v)); });
    auto* limits = new QFormLayout(Frame5);
    limits->addRow(QStringLiteral("Min Torque"), MinNum);
    limits->addRow(QStringLiteral("Max Torque"), MaxNum);
    limits->addRow(QStringLiteral("Min Degrees"), MinDeg);
    limits->addRow(QStringLiteral("Max Degrees"), MaxDeg);
    limits->addRow(QStringLiteral("# of Points"), cwFilePoints);
    column->addWidget(Frame5);
    column->addStretch();
    return panel;
}

QFrame* frmGraph::buildProgressPanel() {
    frameBar = new QFrame(this);
    frameBar->setObjectName(QStringLiteral("frameBar"));
    Bar1 = new QProgressBar(frameBar);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    lbldcount = new QLabel(QStringLiteral("0 of 0"), frameBar);
    lbldcount->setObjectName(QStringLiteral("lbldcount"));
    auto* bar = new QHBoxLayout(frameBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(Bar1, 1);
    bar->addWidget(lbldcount);
    frameBar->hide();
    return frameBar;
}

void frmGraph::Form_Load() {
    session_.Form_Load();
    for (int k = 1; k <= MaxCurvePlots; ++k) {
        QPalette palette = legend_[std::size_t(k - 1)]->palette();
        palette.setColor(QPalette::WindowText, PlotColor(k));
        legend_[std::size_t(k - 1)]->setPalette(palette);
    }
    mnuCFree_Click();
    refresh();
}

void frmGraph::refresh() {
    const SlotSelector& selector = session_.cplot();
    cplot->setRange(selector.minimum, selector.maximum);
    cplot->setValue(selector.value);
    const CurveLimits& limits = session_.limits();
    const std::pair<controls::NumEdit*, double> shown[] = {{MinNum, limits.MinNum}, {MaxNum, limits.MaxNum},
                                                           {MinDeg, limits.MinDeg}, {MaxDeg, limits.MaxDeg},
                                                           {Y1max, limits.Y1max},   {Y2max, limits.Y2max}};
    for (const auto& [edit, value] : shown)
        edit->setValue(value);
    cwFilePoints->setValue(session_.filePoints());
    chkEnableFilter->setChecked(session_.filterEnabled());
    const bool curveMenus = session_.curveMenusEnabled();
    mnuLoad->setEnabled(true);
    mnuPrint->setEnabled(curveMenus);
    for (QMenu* menu : {mnuPlot, mnuView, mnuCursor})
        menu->menuAction()->setEnabled(curveMenus);
    mnuTransfer->menuAction()->setEnabled(!session_.collecting());
}

// --- plots and files ---

void frmGraph::BtnAddPlot_Click() {
    session_.Curve_AddPlot();
    refresh();
}

void frmGraph::mnuDeletePlot_Click() {
    session_.RemovePlot_Click();
    refresh();
}

void frmGraph::mnuLoad_Click() {
    session_.mnuLoad_Click();
    refresh();
}

void frmGraph::mnuLoadCollection_Click() {
    session_.mnuLoadCollection_Click();
    refresh();
}

void frmGraph::mnuSaveCollection_Click() {
    session_.mnuSaveCollection_Click();
}

void frmGraph::mnuExit_Click() {
    app::closeWindow(this);
}

void frmGraph::Option1_Click(int index) {
    session_.Option1_Click(index);
    refresh();
}

// --- view modes and cursor ---

void frmGraph::setViewChecks(QAction* checked) {
    for (QAction* action : {mnuZoom, mnuPan, mnuCursorOn})
        action->setChecked(action == checked);
}

void frmGraph::mnuZoom_Click() {
    cwgraph1->setPointerMode(controls::PointerMode::Zoom);
    cwgraph1->setCursorVisible(Cursor1, false);
    cwgraph1->setCursorVisible(Cursor2, false);
    setViewChecks(mnuZoom);
    lblView->setText(ViewZoomText);
}

void frmGraph::mnuPan_Click() {
    cwgraph1->setPointerMode(controls::PointerMode::Pan);
    cwgraph1->setCursorVisible(Cursor1, false);
    cwgraph1->setCursorVisible(Cursor2, false);
    setViewChecks(mnuPan);
    lblView->setText(ViewPanText);
}

void frmGraph::mnuCursorOn_Click() {
    // The action has toggled its own check already.
    if (!mnuCursorOn->isChecked()) {
        cwgraph1->setCursorVisible(Cursor1, false);
        return;
    }
    cwgraph1->setPointerMode(controls::PointerMode::Cursor);
    const int axis = cwgraph1->cursorAxis(Cursor1);
    cwgraph1->setCursorPosition(
        Cursor1,
        (cwgraph1->axisMinimum(CurveGraph::TimeAxis) + cwgraph1->axisMaximum(CurveGraph::TimeAxis)) / 2,
        (cwgraph1->axisMinimum(axis) + cwgraph1->axisMaximum(axis)) / 2);
    cwgraph1->setCursorVisible(Cursor1, true);
    setViewChecks(mnuCursorOn);
    lblView->setText(ViewCursorText);
}

void frmGraph::mnuZoomOut_Click() {
    cwgraph1->restoreRanges();
    session_.mnuZoomOut_Click();
    mnuZoom->setChecked(false);
    mnuPan->setChecked(false);
    cwgraph1->setPointerMode(mnuCursorOn->isChecked() ? controls::PointerMode::Cursor
                                                      : controls::PointerMode::None);
    refresh();
}

void frmGraph::mnuAutoscale_Click() {
    session_.mnuAutoscale_Click();
    refresh();
}

void frmGraph::mnuCFree_Click() {
    cwgraph1->setCursorSnap(Cursor1, controls::CursorSnap::Free);
    mnuCFree->setChecked(true);
    mnuCsnap->setChecked(false);
    lblCurrentMode->setText(CursorFreeText);
}

void frmGraph::mnuCsnap_Click() {
    cwgraph1->setCursorSnap(Cursor1, controls::CursorSnap::NearestPoint);
    mnuCsnap->setChecked(true);
    mnuCFree->setChecked(false);
    lblCurrentMode->setText(CursorSnapText);
}

// --- collection from the controller ---

void frmGraph::mnuControllerCurve_Click(int curve) {
    if (!closer_.call([this, curve] { session_.ReceiveControllerCurve(curve); }))
        return;
    refresh();
}

void frmGraph::mnuDataLoggerCurve_Click() {
    if (!closer_.call([this] { session_.ReceiveDataLoggerCurve(); }))
        return;
    refresh();
}

void frmGraph::setRange(int minimum, int maximum) {
    Bar1->setRange(minimum, maximum);
}

void frmGraph::setValue(int value) {
    Bar1->setValue(value);
}

void frmGraph::setCountText(const QString& text) {
    lbldcount->setText(text);
}

void frmGraph::setCollecting(bool collecting) {
    if (collecting)
        waitCursor_.emplace();
    else
        waitCursor_.reset();
    frameBar->setVisible(collecting);
    Frame5->setEnabled(!collecting);
    mnuTransfer->menuAction()->setEnabled(!collecting);
}

void frmGraph::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, session_.collecting(), [this] { session_.cancelCollection(); });
}

} // namespace monitor
