#include "monitor/curvesession.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/torque.h"
#include "controls/arrayextremes.h"
#include "controls/lowpass.h"
#include "link/controllerlink.h"
#include "monitor/curvecollector.h"

#include <algorithm>
#include <cmath>

namespace monitor {

namespace {
const QString FileErrorCaption = QStringLiteral("File Error");
const QString FileDoesNotExist = QStringLiteral("File does not exists");
const QString InvalidCurveFile = QStringLiteral("Not A Valid Curve File: %1");
const QString FileSaveCaption = QStringLiteral("File Save");
const QString FileExistsOverwrite = QStringLiteral("File Exists - Overwrite?");
const QString DisplayPlotCaption = QStringLiteral("Error - Display Plot");
const QString DeleteCurveCaption = QStringLiteral("Delete Curve");
const QString ErrorPlottingData = QStringLiteral("Error Plotting Data");
const QString AddFilterCaption = QStringLiteral("Add Filter");
const QString FilterWarning = QStringLiteral("Adding A Filter Will Effect The Peak Value");
const QString ReceiveCurveCaption = QStringLiteral("Receive Curve");
const QString MaximumCurves = QStringLiteral("Maximum Number Of Curves Reached (10)");
const QString NoPointsToCollect = QStringLiteral("Collect Curve Canceled - Number Of Samples = 0\r\n"
                                                 "Enter number of samples into # of Points field");
const QString TransferComplete = QStringLiteral("Data Transfer Complete");
const QString DataLoggerCurvePrompt = QStringLiteral("Enter Data Logger Curve Number");
const QString FileExistsCaption = QStringLiteral("File Exists Warning");
const QString FileExistsOverwriteFile = QStringLiteral("This file already exists. - Overwrite File ?");
const QString CollectionSavedCaption = QStringLiteral("Collection Saved");
const QString CollectionSaved = QStringLiteral("Successful - Data Stored");
const QString CollectionSaveFailedCaption = QStringLiteral("Curve Collection Saved");
const QString LoadCollectionCaption = QStringLiteral("Load Collection");
const QString RemoveAllPlots = QStringLiteral("All Current Plots Will Be Removed - Load Collection ?");
const QString CollectionLoadCaption = QStringLiteral("Collection Load");
const QString CollectionFileMissing = QStringLiteral("File Does Not Exist");
const QString CollectionLoaded = QStringLiteral("Collection Loaded Successfully");
const QString CollectionLoadFailedCaption = QStringLiteral("Curve Collection Save");
const QString CollectionTooLong =
    QStringLiteral("The Collection Holds %1 Curves - Only The First 10 Were Loaded");

// The start level of a curve: the smallest of this and its first samples (1 to 20).
constexpr double StartLevelCap = 5000;
constexpr int StartLevelLastSample = 20;
// The filter's cut-off, in cycles per curve (the sampling rate is the sample count).
constexpr double FilterCutoff = 24;
// Axis scaling around a drawn curve: the time axis and the top run 10 % past the curve, the bottom half
// the minimum's size below it.
constexpr double AxisHeadroom = 1.1;
constexpr double AxisFootroom = 0.5;
// Autoscale: the time axis, and the margin around the torque limits on both value axes.
constexpr double AutoscaleTimeMaximum = 4000;
constexpr double AutoscaleMargin = 5;
// The data logger's curves are numbered as the controller's.
constexpr int FirstCurveNumber = 1;
} // namespace

CurveSession::CurveSession(app::AppServices& ctx, CurveGraph& graph, CurveCollectionDisplay& display)
    : CurveSession(ctx.link, ctx.palverin, ctx.busy, ctx.values, graph, display) {}

CurveSession::CurveSession(clink::ControllerLink& link, app::ProgramCore& palverin, base::BusyState& busy,
                           app::ValueEntry& values, CurveGraph& graph, CurveCollectionDisplay& display)
    : link_(link), dialogs_(link.dialogs), palverin_(palverin), busy_(busy), values_(values), graph_(graph),
      display_(display), displayUnits_(base::LbIn) {}

const CurveSlot& CurveSession::slot(int number) const {
    static const CurveSlot none;
    return number >= 1 && number <= MaxCurvePlots ? slots_[std::size_t(number)] : none;
}

QStringList CurveSession::CurvePaths() const {
    QStringList paths;
    for (int k = 1; k <= slotCount(); ++k)
        paths << slots_[std::size_t(k)].path;
    return paths;
}

void CurveSession::clearSlots() {
    slots_ = {};
    selector_ = {};
}

void CurveSession::Form_Load() {
    clearSlots();
    limits_ = {};
    setAxisRange(CurveGraph::TorqueAxis, limits_.MinNum, limits_.Y1max);
    setAxisRange(CurveGraph::AngleAxis, limits_.MinDeg, limits_.Y2max);
    filePoints_ = InitialFilePoints;
    DisableCurveMenus();
    filter_ = false;
}

// --- plots ---

int CurveSession::addSlot() {
    graph_.addPlot();
    const int count = graph_.plotCount();
    selector_ = {1, count, count};
    slots_[std::size_t(count)] = {};
    return count;
}

void CurveSession::Curve_AddPlot() {
    if (graph_.plotCount() >= MaxCurvePlots)
        return;
    const int k = addSlot();
    const QString path = Graph_GetFileName();
    if (path == NoCurve) {
        RemovePlot_Click();
        return;
    }
    if (showInNewSlot(k, path))
        EnableCurveMenus();
}

bool CurveSession::showInNewSlot(int k, const QString& path) {
    if (!loadSlot(k, path))
        invalidCurveFile(path);
    else if (Curve_DisplayPlot())
        return true;
    RemovePlot_Click();
    return false;
}

void CurveSession::RemovePlot_Click() {
    const int count = selector_.maximum;
    const int selected = selector_.value;
    if (count == 0 || selected < 1)
        return;
    graph_.removeLastPlot();
    for (int k = selected; k < count; ++k)
        slots_[std::size_t(k)] = std::move(slots_[std::size_t(k + 1)]);
    slots_[std::size_t(count)] = {};
    const int left = count - 1;
    if (left == 0) {
        selector_ = {};
        DisableCurveMenus();
        return;
    }
    selector_.maximum = left;
    selector_.value = std::min(selected, left);
    graph_.clearData();
    for (int k = 1; k <= left; ++k) {
        if (slots_[std::size_t(k)].loaded && !Curve_DisplayPlot2(k))
            dialogs_.message(ErrorPlottingData, DeleteCurveCaption, base::MessageIcon::Critical);
    }
}

bool CurveSession::Curve_DisplayPlot() {
    return Curve_DisplayPlot2(selector_.value);
}

bool CurveSession::Curve_DisplayPlot2(int slot) {
    if (slot < 1 || slot > slotCount() || !slots_[std::size_t(slot)].loaded)
        return false;
    return drawSlot(slot);
}

bool CurveSession::drawSlot(int k) {
    const CurveSlot& s = slots_[std::size_t(k)];
    const std::vector<double>& samples = s.samples;
    const int count = int(samples.size());
    std::vector<double> filtered;
    if (filter_) {
        QString error;
        auto smoothed = controls::lowpass(samples, count, FilterCutoff, order_, &error);
        if (!smoothed) {
            dialogs_.message(error, DisplayPlotCaption, base::MessageIcon::Exclamation);
            return false;
        }
        filtered = std::move(*smoothed);
    }

    const controls::ArrayExtremes extremes = controls::maxMin(samples);
    double startLevel = StartLevelCap;
    for (int i = 1; i <= StartLevelLastSample && i < count; ++i)
        startLevel = std::min(startLevel, samples[std::size_t(i)]);
    const int axis = s.angle ? CurveGraph::AngleAxis : CurveGraph::TorqueAxis;
    graph_.drawPlot(k, axis, filter_ ? filtered : samples);
    graph_.setAxisRange(CurveGraph::TimeAxis, 0, AxisHeadroom * count);

    const double upper = AxisHeadroom * extremes.maximum;
    const double lower = extremes.minimum - std::abs(AxisFootroom * extremes.minimum);
    setAxisRange(axis, lower, upper);
    if (s.angle) {
        limits_.MaxDeg = extremes.maximum;
        limits_.MinDeg = startLevel;
        limits_.Y2max = upper;
    } else {
        limits_.MaxNum = extremes.maximum;
        limits_.MinNum = startLevel;
        limits_.Y1max = upper;
    }
    return true;
}

bool CurveSession::loadSlot(int k, const QString& path) {
    // Angle curves are read as stored; torque curves in the display units.
    const bool angle = curveFileNumber(path) == AngleCurveNumber;
    if (!palverin_.LoadCurveFile(path, int16_t(angle ? base::TenthsLbIn : displayUnits_)))
        return false;
    const app::CurveData& curve = palverin_.curve;
    const auto first = curve.CurveSamples.begin();
    slots_[std::size_t(k)] = {path, true, std::vector<double>(first, first + curve.CurveSampleCount), angle};
    return true;
}

void CurveSession::invalidCurveFile(const QString& path) {
    dialogs_.message(InvalidCurveFile.arg(path), FileErrorCaption, base::MessageIcon::Critical);
}

void CurveSession::reloadSelected() {
    const int k = selector_.value;
    if (k < 1)
        return;
    const QString path = slots_[std::size_t(k)].path;
    if (path == NoCurve)
        return;
    if (!loadSlot(k, path)) {
        invalidCurveFile(path);
        return;
    }
    Curve_DisplayPlot();
}

// --- files ---

QString CurveSession::Get_SaveDataFilename() {
    const QString path = dialogs_.saveFileName(SaveCurveDataTitle, CurveFileFilter);
    if (path.isEmpty())
        return NoCurve;
    if (!app::ProgramCore::FileExists(path))
        return path;
    return dialogs_.askYesNo(FileExistsOverwrite, FileSaveCaption) ? path : NoCurve;
}

QString CurveSession::Graph_GetFileName() {
    const QString path = dialogs_.openFileName(LoadCurveDataTitle, CurveFileFilter);
    if (path.isEmpty())
        return NoCurve;
    if (app::ProgramCore::FileExists(path))
        return path;
    dialogs_.message(FileDoesNotExist, FileErrorCaption, base::MessageIcon::Critical);
    return NoCurve;
}

void CurveSession::mnuLoad_Click() {
    const int k = selector_.value;
    if (k == 0) {
        Curve_AddPlot();
        return;
    }
    // A cancelled choice, or a file that cannot be read or drawn, leaves the slot as it was.
    const QString path = Graph_GetFileName();
    if (path == NoCurve)
        return;
    CurveSlot previous = slots_[std::size_t(k)];
    if (!loadSlot(k, path)) {
        invalidCurveFile(path);
        return;
    }
    if (!Curve_DisplayPlot()) {
        slots_[std::size_t(k)] = std::move(previous);
        return;
    }
    EnableCurveMenus();
}

void CurveSession::mnuSaveCollection_Click() {
    const QString path = dialogs_.saveFileName(SaveCollectionTitle, CollectionFileFilter);
    if (path.isEmpty())
        return;
    if (app::ProgramCore::FileExists(path) &&
        !dialogs_.askOkCancel(FileExistsOverwriteFile, FileExistsCaption))
        return;
    QString error;
    if (!writeCurveCollection(path, CurvePaths(), &error)) {
        dialogs_.message(error, CollectionSaveFailedCaption, base::MessageIcon::Critical);
        return;
    }
    dialogs_.message(CollectionSaved, CollectionSavedCaption, base::MessageIcon::Information);
}

void CurveSession::mnuLoadCollection_Click() {
    if (slotCount() > 0 && !dialogs_.askOkCancel(RemoveAllPlots, LoadCollectionCaption))
        return;
    // The file is chosen and read before anything is cleared: a cancel or a bad file changes nothing.
    const QString path = dialogs_.openFileName(LoadCollectionTitle, CollectionFileFilter);
    if (path.isEmpty())
        return;
    if (!app::ProgramCore::FileExists(path)) {
        dialogs_.askOkCancel(CollectionFileMissing, CollectionLoadCaption);
        return;
    }
    QString error;
    const std::optional<CurveCollection> collection = readCurveCollection(path, &error);
    if (!collection) {
        dialogs_.message(error, CollectionLoadFailedCaption, base::MessageIcon::Critical);
        return;
    }

    graph_.removeAllPlots();
    clearSlots();
    DisableCurveMenus();
    const int count = int(collection->entries.size());
    for (int k = 1; k <= count; ++k) {
        addSlot();
        slots_[std::size_t(k)].path = collection->entries.at(k - 1);
    }
    QStringList unreadable;
    for (int k = 1; k <= count; ++k) {
        selector_.value = k;
        const QString entry = slots_[std::size_t(k)].path;
        // An empty slot, or a file that cannot be read, stays without a curve; the files are named.
        if (!loadSlot(k, entry)) {
            if (entry != NoCurve)
                unreadable << InvalidCurveFile.arg(entry);
        } else if (Curve_DisplayPlot()) {
            EnableCurveMenus();
        }
    }
    if (!unreadable.isEmpty())
        dialogs_.message(unreadable.join(QStringLiteral("\r\n")), FileErrorCaption,
                         base::MessageIcon::Critical);
    if (collection->total > MaxCurvePlots)
        dialogs_.message(CollectionTooLong.arg(collection->total), LoadCollectionCaption,
                         base::MessageIcon::Information);
    dialogs_.message(CollectionLoaded, LoadCollectionCaption, base::MessageIcon::Exclamation);
}

// --- collection from the controller ---

bool CurveSession::collectionAllowed() {
    if (graph_.plotCount() >= MaxCurvePlots) {
        dialogs_.message(MaximumCurves, ReceiveCurveCaption, base::MessageIcon::Information);
        return false;
    }
    if (filePoints_ == 0) {
        dialogs_.message(NoPointsToCollect, ReceiveCurveCaption, base::MessageIcon::Information);
        return false;
    }
    return true;
}

void CurveSession::ReceiveControllerCurve(int curve) {
    receiveCurve(CurveSource::Controller, curve);
}

void CurveSession::ReceiveDataLoggerCurve() {
    if (!collectionAllowed())
        return;
    values_.results.ValueEntryResult = QStringLiteral("0");
    values_.frmValue().prepareValue(DataLoggerCurvePrompt, FirstCurveNumber, AngleCurveNumber,
                                    FirstCurveNumber);
    if (!values_.show())
        return;
    receiveCurve(CurveSource::DataLogger, app::valueEntryNumber(values_.results.ValueEntryResult));
}

void CurveSession::receiveCurve(CurveSource source, int curve) {
    if (collecting_ || !collectionAllowed())
        return;
    base::BusyGuard busy(busy_, window_);
    if (!busy.acquired())
        return;
    // Every way out winds the progress panel down.
    struct Collecting {
        explicit Collecting(CurveSession& s) : s(s) {
            s.collecting_ = true;
            s.display_.setCollecting(true);
        }
        ~Collecting() {
            s.collecting_ = false;
            s.display_.setCollecting(false);
        }
        CurveSession& s;
    } collecting(*this);

    const QString path = Get_SaveDataFilename();
    if (path == NoCurve)
        return;
    CurveCollector collector(link_, display_);
    collector_ = &collector;
    const bool collected = collector.collect(source, curve, filePoints_, path);
    collector_ = nullptr;
    if (!collected)
        return;
    // The file stays even when the graph has filled up meanwhile.
    if (graph_.plotCount() >= MaxCurvePlots) {
        dialogs_.message(MaximumCurves, ReceiveCurveCaption, base::MessageIcon::Information);
        return;
    }
    if (!showInNewSlot(addSlot(), path))
        return;
    dialogs_.message(TransferComplete, ReceiveCurveCaption, base::MessageIcon::Information);
    EnableCurveMenus();
}

void CurveSession::cancelCollection() {
    if (collector_)
        collector_->cancel();
}

// --- controls ---

void CurveSession::selectSlot(int slot) {
    if (slotCount() > 0)
        selector_.value = std::clamp(slot, selector_.minimum, selector_.maximum);
}

void CurveSession::Option1_Click(int units) {
    displayUnits_ = units;
    reloadSelected();
}

void CurveSession::Order_ValueChanged(int order) {
    order_ = order;
    Curve_DisplayPlot();
}

void CurveSession::chkEnableFilter_Click(bool checked) {
    filter_ = checked;
    if (checked)
        dialogs_.message(FilterWarning, AddFilterCaption, base::MessageIcon::Information);
    Curve_DisplayPlot();
}

void CurveSession::setAxisRange(int axis, double minimum, double maximum) {
    graph_.setAxisRange(axis, minimum, maximum);
    if (axis == CurveGraph::TorqueAxis)
        torqueAxisMaximum_ = maximum;
    else if (axis == CurveGraph::AngleAxis)
        angleAxisMaximum_ = maximum;
}

void CurveSession::Y1max_ValueChanged(double value) {
    limits_.Y1max = value;
    setAxisRange(CurveGraph::TorqueAxis, limits_.MinNum, value);
}

void CurveSession::Y2max_ValueChanged(double value) {
    limits_.Y2max = value;
    setAxisRange(CurveGraph::AngleAxis, limits_.MinDeg, value);
}

void CurveSession::mnuZoomOut_Click() {
    limits_.Y1max = torqueAxisMaximum_;
    limits_.Y2max = angleAxisMaximum_;
}

void CurveSession::mnuAutoscale_Click() {
    graph_.setAxisRange(CurveGraph::TimeAxis, 0, AutoscaleTimeMaximum);
    // Both value axes take the torque limits.
    const double minimum = limits_.MinNum - AutoscaleMargin;
    const double maximum = limits_.MaxNum + AutoscaleMargin;
    setAxisRange(CurveGraph::TorqueAxis, minimum, maximum);
    setAxisRange(CurveGraph::AngleAxis, minimum, maximum);
}

void CurveSession::setFilePoints(int points) {
    filePoints_ = std::clamp(points, 0, MaxCurvePoints);
}

} // namespace monitor
