#include "monitor/ui/frmstats.h"

#include "app/ui/appcontext.h"
#include "app/ui/cursors.h"
#include "app/ui/elidedlabel.h"
#include "app/ui/windowregistry.h"
#include "app/ui/workarea.h"
#include "base/printout.h"
#include "controls/ui/chartwidget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("  Brenstal - Stats");
const QString VersionText = QStringLiteral("Statistics - Version 2001");
const QString IntervalText = QStringLiteral("Sample Interval Adjust");
// Index of the two labels that carry the window's own texts.
constexpr int VersionLabel = 13;
// The label of the loaded file's name, which runs under the charts.
constexpr int FileLabel = 12;
constexpr int IntervalLabel = 14;
// The run chart's cursors, and the histogram's, in their order.
enum RunChartCursor { TqHiCursor = 1, TqTargetCursor, TqLoCursor };
enum HistogramCursor { TargetLine = 1, HiLine, LoLine };
const QColor HiColor = Qt::red;
const QColor TargetColor = Qt::darkGreen;
const QColor LoColor = Qt::blue;
const QColor PlotColor = Qt::black;
constexpr int ChartMinimumWidth = 420;
constexpr int ChartMinimumHeight = 240;

controls::ChartWidget* makeChart(const QString& name, const QString& caption, QWidget* parent) {
    auto* chart = new controls::ChartWidget(parent);
    chart->setObjectName(name);
    chart->setCaption(caption);
    chart->setMinimumSize(ChartMinimumWidth, ChartMinimumHeight);
    // The cursors mark the report's limits: they are shown, not moved.
    chart->setPointerMode(controls::PointerMode::None);
    chart->addPlot(PlotColor);
    return chart;
}

void addLimitCursor(controls::ChartWidget* chart, const QString& name, controls::CursorKind kind,
                    const QColor& color) {
    const int cursor = chart->addCursor(name, kind, color);
    chart->setCursorEnabled(cursor, false);
    chart->setCursorVisible(cursor, false);
}
} // namespace

frmStats::frmStats(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), session_(ctx.dialogs, ctx.textViewer) {
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuloadFile = file->addAction(QStringLiteral("&Load"), this, &frmStats::mnuloadFile_Click);
    mnuloadFile->setObjectName(QStringLiteral("mnuloadFile"));
    mnuSave = file->addAction(QStringLiteral("&Save"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    file->addSeparator();
    QAction* print = file->addAction(QStringLiteral("&Print"), this, &frmStats::mnuPrint_Click);
    print->setObjectName(QStringLiteral("mnuPrint"));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("&Exit"), this, &frmStats::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));
    QMenu* view = menuBar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuViewData = view->addAction(QStringLiteral("Data File"), this, &frmStats::mnuViewData_Click);
    mnuViewData->setObjectName(QStringLiteral("mnuViewData"));
    mnuViewRealtimeStats = view->addAction(QStringLiteral("Realtime Stats"));
    mnuViewRealtimeStats->setObjectName(QStringLiteral("mnuViewRealtimeStats"));

    fileLabel_ = new app::ElidedLabel(this);
    for (int i = 0; i < LabelCount; ++i) {
        lblStats[std::size_t(i)] = i == FileLabel ? fileLabel_ : new QLabel(this);
        lblStats[std::size_t(i)]->setObjectName(QStringLiteral("lblStats%1").arg(i));
    }
    lblStats[VersionLabel]->setText(VersionText);
    lblStats[IntervalLabel]->setText(IntervalText);
    QFont title = lblStats[VersionLabel]->font();
    title.setBold(true);
    lblStats[VersionLabel]->setFont(title);

    cwStatsGraph1 = makeChart(QStringLiteral("cwStatsGraph1"), QStringLiteral("XBar - R"), this);
    addLimitCursor(cwStatsGraph1, QStringLiteral("TqHi"), controls::CursorKind::Horizontal, HiColor);
    addLimitCursor(cwStatsGraph1, QStringLiteral("TqTarget"), controls::CursorKind::Horizontal, TargetColor);
    addLimitCursor(cwStatsGraph1, QStringLiteral("TqLo"), controls::CursorKind::Horizontal, LoColor);

    auto* histogramFrame = new QGroupBox(QStringLiteral("Historgram"), this);
    histogramFrame->setObjectName(QStringLiteral("frameHistogram"));
    cwgraph1 = makeChart(QStringLiteral("cwgraph1"), QStringLiteral("Histogram"), histogramFrame);
    cwgraph1->setPlotPointsVisible(1, true);
    addLimitCursor(cwgraph1, QStringLiteral("TqTarget"), controls::CursorKind::Vertical, TargetColor);
    addLimitCursor(cwgraph1, QStringLiteral("TqHi"), controls::CursorKind::Vertical, HiColor);
    addLimitCursor(cwgraph1, QStringLiteral("TqLo"), controls::CursorKind::Vertical, LoColor);
    cwAdj = new QSpinBox(histogramFrame);
    cwAdj->setObjectName(QStringLiteral("cwAdj"));
    cwAdj->setRange(0, 0);
    cwAdj->setEnabled(false);
    connect(cwAdj, &QSpinBox::valueChanged, this, &frmStats::cwAdj_ValueChanged);

    auto* results = new QVBoxLayout;
    results->addWidget(lblStats[VersionLabel]);
    for (int i = 0; i < FileLabel; ++i)
        results->addWidget(lblStats[std::size_t(i)]);
    results->addStretch();

    auto* adjust = new QVBoxLayout;
    adjust->addStretch();
    adjust->addWidget(lblStats[IntervalLabel]);
    adjust->addWidget(cwAdj);
    auto* histogram = new QHBoxLayout(histogramFrame);
    histogram->addWidget(cwgraph1, 1);
    histogram->addLayout(adjust);

    auto* charts = new QVBoxLayout;
    charts->addWidget(cwStatsGraph1, 1);
    charts->addWidget(histogramFrame, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(results);
    columns->addLayout(charts, 1);
    // A file name from a deep folder is wider than the results column: it has the window's width, and what
    // does not fit loses its middle, so the name of the file stays in view.
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(columns, 1);
    layout->addWidget(lblStats[FileLabel]);

    Form_Load();
}

void frmStats::Form_Load() {
    mnuloadFile->setEnabled(true);
    mnuViewRealtimeStats->setEnabled(true);
    mnuSave->setEnabled(false);
    Show_StatsResults();
}

void frmStats::Show_StatsResults() {
    const QStringList texts = session_.labelTexts();
    for (int i = 0; i < texts.size() && i < FileLabel; ++i)
        lblStats[std::size_t(i)]->setText(texts[i]);
    if (texts.size() > FileLabel)
        fileLabel_->setWholeText(texts[FileLabel]);
}

void frmStats::mnuloadFile_Click() {
    const QString path = session_.chooseReport();
    // The hourglass while the report is read and drawn (a large report takes seconds); its boxes show the
    // ordinary pointer.
    const app::WaitCursor wait;
    if (!session_.load(path))
        return;
    Show_StatsResults();
    // Longer results widen their column: the window grows with them rather than squeeze the charts.
    app::fitWorkArea(*this);
    Plot_StatsGraph();
    const int n = session_.stats().count;
    settingAdj_ = true;
    cwAdj->setMaximum(n + 1);
    cwAdj->setValue(n);
    settingAdj_ = false;
    Plot_RundownGraph();
    mnuloadFile->setEnabled(true);
    mnuViewData->setEnabled(true);
    mnuViewRealtimeStats->setEnabled(true);
    mnuSave->setEnabled(false);
    cwAdj->setEnabled(true);
}

void frmStats::Plot_StatsGraph() {
    const RundownReportData& report = session_.report();
    const RunChartScale scale = session_.runChart();
    cwStatsGraph1->plotY(1, report.torques, 1);
    cwStatsGraph1->setAxisRange(controls::ChartWidget::XAxis, 0, scale.xMaximum);
    cwStatsGraph1->setAxisRange(controls::ChartWidget::YAxis, scale.bottom, scale.top);
    const std::pair<int, double> limits[] = {
        {TqHiCursor, report.hi}, {TqTargetCursor, report.target}, {TqLoCursor, report.lo}};
    for (const auto& [cursor, value] : limits) {
        cwStatsGraph1->setCursorPosition(cursor, value, value);
        cwStatsGraph1->setCursorVisible(cursor, true);
    }
}

void frmStats::Plot_RundownGraph() {
    cwgraph1->clearData();
    if (!session_.loaded())
        return;
    const controls::Histogram h = session_.histogram(cwAdj->value());
    if (h.counts.empty())
        return;
    const std::vector<double> counts(h.counts.begin(), h.counts.end());
    cwgraph1->plotXY(1, h.centres, counts);
    const HistogramScale scale = session_.histogramRange();
    cwgraph1->setAxisRange(controls::ChartWidget::XAxis, scale.bottom, scale.top);
    cwgraph1->setAxisRange(controls::ChartWidget::YAxis, 0,
                           *std::max_element(counts.begin(), counts.end()) + 1);
    const RundownReportData& report = session_.report();
    const std::pair<int, double> limits[] = {
        {TargetLine, report.target}, {HiLine, report.hi}, {LoLine, report.lo}};
    for (const auto& [cursor, value] : limits) {
        cwgraph1->setCursorPosition(cursor, value, 0);
        cwgraph1->setCursorVisible(cursor, true);
    }
}

void frmStats::cwAdj_ValueChanged() {
    if (!settingAdj_)
        Plot_RundownGraph();
}

void frmStats::mnuPrint_Click() {
    base::ImagePrintout printout(grab().toImage());
    ctx_.dialogs.printPages(printout);
}

void frmStats::mnuViewData_Click() {
    // The hourglass while the file is read; the viewer itself shows the ordinary pointer.
    const app::WaitCursor wait;
    session_.mnuViewData_Click();
}

void frmStats::mnuExit_Click() {
    app::closeWindow(this);
}

} // namespace monitor
