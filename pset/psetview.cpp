#include "pset/psetview.h"

#include "base/numbertext.h"

namespace pset {

using app::PsetField;

namespace {

// Editor by editor, the field it shows.
constexpr std::array<PsetField, ValueEditorCount> EditorFields = {
    PsetField::TqTarget,    PsetField::TqHi,          PsetField::TqLo,         PsetField::TqDownshift,
    PsetField::TqThreshold, PsetField::CycleComplete, PsetField::AngleTarget,  PsetField::AngleHi,
    PsetField::AngleLo,     PsetField::RpmFreeSpeed,  PsetField::RpmDownshift,
};

// clang-format off
constexpr StrategyEntry Strategies[] = {
    {app::TorqueControl, "Torque Control", "Strategy: Torque Control", AngleLayout::None},
    {app::TorqueControlAngleMonitor, "Torque Control / Angle Monitor",
     "Strategy: Torque Control / Angle Monitor", AngleLayout::LimitsOnly},
    {app::TorqueMonitorAngleControl, "Torque Monitor / Angle Control",
     "Strategy: Torque Monitor / Angle Control", AngleLayout::All},
    {app::TorqueControlAngleControl, "Torque Control / Angle Control",
     "Strategy: Torque Control / Angle Control", AngleLayout::All},
    {app::RevTorqueControlAngleControl, "Rev Torque Control / Angle Control",
     "Strategy: Rev. Torque Control / Angle Control", AngleLayout::All},
    {app::RevTorqueMonitorAngleControl, "Rev Torque Monitor / Angle Control",
     "Strategy: Rev. Torque Monitor / Angle Control", AngleLayout::All},
    {app::RevTorqueControlAngleMonitor, "Rev Torque Control / Angle Monitor",
     "Strategy: Rev. Torque Control / Angle Monitor", AngleLayout::LimitsOnly},
    {app::RevTorqueControl, "Rev Torque Control", "Strategy: Rev. Torque Control", AngleLayout::None},
};
// clang-format on

// Units captions by units code 1..5.
constexpr const char* UnitsCaptions[] = {"Units: In-Lb", "Units: Ft-Lb", "Units: kg-cm", "Units: kg-m",
                                         "Units: Nm"};

const QString NumPsetsCaption = QStringLiteral("Number Of Psets: ");
// What the graph shows above the high limits of a project without curve.
constexpr double AngleAxisMargin = 70;
constexpr double TorqueAxisMargin = 5;
constexpr double PercentScale = 100;
// The percent derivation's own steps: the window in tenths of the target, times ten.
constexpr double TenthOfTarget = 0.1;
constexpr double TenthsToPercent = 10;

} // namespace

app::PsetField editorField(ValueEditor editor) {
    return EditorFields[std::size_t(editor)];
}

std::span<const StrategyEntry> strategyTable() {
    return Strategies;
}

const StrategyEntry* strategyEntry(int code) {
    for (const StrategyEntry& s : Strategies) {
        if (s.code == code)
            return &s;
    }
    return nullptr;
}

std::array<bool, AngleEditorCount> angleEditorsEnabled(AngleLayout layout) {
    switch (layout) {
    case AngleLayout::None:
        return {false, false, false};
    case AngleLayout::LimitsOnly:
        return {false, true, true};
    case AngleLayout::All:
        break;
    }
    return {true, true, true};
}

std::optional<QString> unitsCaption(int units) {
    if (units < 1 || units > int(std::size(UnitsCaptions)))
        return std::nullopt;
    return QString::fromLatin1(UnitsCaptions[units - 1]);
}

std::optional<double> derivedPercent(double target, double hi, double lo) {
    if (target <= 0 || target - lo <= 0 || hi - target != target - lo)
        return std::nullopt;
    return (target - lo) / (target * TenthOfTarget) * TenthsToPercent;
}

TorqueLimits percentLimits(double target, double percent) {
    const double delta = target * percent / PercentScale;
    return {target + delta, target - delta};
}

QString projectCurvePath(const app::PsetTable& table) {
    const QString path = base::rtrim(table[1].text(PsetField::CurveFile));
    return path.isEmpty() || path.startsWith(NoCurveFile) ? QString() : path;
}

PsetView psetView(const app::PsetTable& table, int n, bool percentEdited) {
    const app::PsetRecord& r = table[n];
    PsetView view;
    view.numPsets = NumPsetsCaption + table[1].text(PsetField::NumPsets);
    view.strategy = r.whole(PsetField::Strategy);
    if (const StrategyEntry* s = strategyEntry(view.strategy))
        view.strategyCaption = QString::fromLatin1(s->labelCaption);
    view.unitsCaption = unitsCaption(r.whole(PsetField::Units));
    for (std::size_t i = 0; i < EditorFields.size(); ++i)
        view.editors[i] = r.number(EditorFields[i]);
    view.softStart = r.whole(PsetField::SoftStart) != 0;
    view.ergo = r.whole(PsetField::Ergo) != 0;
    if (!percentEdited)
        view.percent = derivedPercent(r.number(PsetField::TqTarget), r.number(PsetField::TqHi),
                                      r.number(PsetField::TqLo));
    if (projectCurvePath(table).isEmpty())
        view.noCurveAxes = GraphMaxima{r.number(PsetField::AngleHi) + AngleAxisMargin,
                                       r.number(PsetField::TqHi) + TorqueAxisMargin};
    return view;
}

} // namespace pset
