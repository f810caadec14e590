#include "pset/curvepreview.h"

#include "controls/lowpass.h"

#include <cmath>
#include <span>

namespace pset {

namespace {
const QString CurrentPlotCaption = QStringLiteral("Current Plot: ");
const QString MaxTorqueCaption = QStringLiteral("Max Torque: ");
const QString MinTorqueCaption = QStringLiteral("Min Torque: ");
// Room beyond the curve: after its last sample, above its largest and below zero.
constexpr double SampleMargin = 10;
constexpr double TorqueMargin = 10;
constexpr double TorqueAxisBottom = -5;
} // namespace

CurvePreview curvePreview(const app::CurveData& curve) {
    const int count = std::max(0, int(curve.CurveSampleCount));
    const std::span<const double> samples(curve.CurveSamples.data(), std::size_t(count));
    CurvePreview p;
    if (auto smooth = controls::lowpass(samples, count, PreviewCutoff, PreviewOrder))
        p.samples = std::move(*smooth);
    else
        p.samples.assign(samples.begin(), samples.end());
    p.xMaximum = count + SampleMargin;
    p.yMinimum = TorqueAxisBottom;
    p.yMaximum = curve.CurveMaxValue + TorqueMargin;
    p.maxPanel = MaxTorqueCaption + QString::number(curve.CurveMaxValue);
    p.minPanel = MinTorqueCaption + QString::number(curve.CurveMinValue);
    return p;
}

QString currentPlotPanel(const QString& path) {
    return CurrentPlotCaption + path;
}

QString maxTorquePanel() {
    return MaxTorqueCaption;
}

QString minTorquePanel() {
    return MinTorqueCaption;
}

std::optional<CursorEdit> cursorEdit(int cursor, double x, double y) {
    if (cursor < 1 || cursor > CursorCount)
        return std::nullopt;
    const double position = cursor <= TorqueCursorCount ? y : x;
    return CursorEdit{ValueEditor(cursor - 1), std::abs(position)};
}

} // namespace pset
