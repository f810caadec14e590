#include "monitor/processstats.h"

#include "base/numbertext.h"
#include "controls/arrayextremes.h"

#include <algorithm>
#include <cmath>

namespace monitor {

namespace {
constexpr int StatsDecimals = 3;
const QString NotAvailable = QStringLiteral("n/a");
// Headroom of the run chart above the largest value, and how far below the smallest value each chart
// reaches (as a share of that value).
constexpr double RunChartHeadroom = 1.1;
constexpr double RunChartFootroom = 0.5;
constexpr double HistogramHeadroom = 1.5;
constexpr double HistogramFootroom = 0.7;

QString withValue(const QString& label, const QString& value) {
    return value.isEmpty() ? label : label + u' ' + value;
}
} // namespace

ProcessStats processStats(std::span<const double> torques, double hi, double lo) {
    ProcessStats s;
    s.count = int(torques.size());
    if (torques.empty())
        return s;
    const auto extremes = controls::maxMin(torques);
    s.maximum = extremes.maximum;
    s.minimum = extremes.minimum;
    s.range = s.maximum - s.minimum;
    double sum = 0;
    for (const double x : torques)
        sum += x;
    s.mean = sum / s.count;
    // Sample standard deviation (divisor n - 1), in two passes: the sum of squared deviations from the
    // mean never goes negative, as the difference of two large sums can.
    if (s.count > 1 && s.maximum != s.minimum) {
        double squares = 0;
        for (const double x : torques)
            squares += (x - s.mean) * (x - s.mean);
        s.sigma = std::sqrt(squares / (s.count - 1));
    }
    s.threeSigma = 3 * s.sigma;
    s.sixSigma = 6 * s.sigma;
    if (s.sigma > 0) {
        s.cp = (hi - lo) / s.sixSigma;
        s.cpk = std::min(hi - s.mean, s.mean - lo) / s.threeSigma;
    } else {
        s.cp.reset();
        s.cpk.reset();
    }
    return s;
}

QString statsNumberText(double value) {
    QString text = base::formatFixed(value, StatsDecimals);
    if (text.startsWith(QStringLiteral("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QStringLiteral("-0.")))
        text.remove(1, 1);
    return text;
}

QStringList statsLabelTexts(const ProcessStats& stats, const StatsLimitTexts& limits, const QString& file) {
    auto optional = [](const std::optional<double>& v) { return v ? statsNumberText(*v) : NotAvailable; };
    return {QStringLiteral("Pop: ") + QString::number(stats.count),
            QStringLiteral("Mean: ") + statsNumberText(stats.mean),
            QStringLiteral("Cp: ") + optional(stats.cp),
            QStringLiteral("Cpk: ") + optional(stats.cpk),
            QStringLiteral("6Sigma: ") + statsNumberText(stats.sixSigma),
            QStringLiteral("Range: ") + statsNumberText(stats.range),
            QStringLiteral("Max: ") + base::numberText(stats.maximum),
            QStringLiteral("Min: ") + base::numberText(stats.minimum),
            QString(),
            withValue(QStringLiteral("Tq Target:"), limits.target),
            withValue(QStringLiteral("Tq Hi:"), limits.hi),
            withValue(QStringLiteral("Tq Lo:"), limits.lo),
            QStringLiteral("File: ") + file};
}

RunChartScale runChartScale(const ProcessStats& stats, double hi, double lo) {
    const double m = std::min(stats.minimum, lo);
    return {double(stats.count + 1), base::roundHalfEven(m - std::abs(RunChartFootroom * m)),
            base::roundHalfEven(RunChartHeadroom * std::max(stats.maximum, hi))};
}

HistogramScale histogramScale(const ProcessStats& stats, double hi, double lo) {
    const double m = std::min(stats.minimum, lo);
    return {base::roundHalfEven(m - std::abs(HistogramFootroom * m)),
            HistogramHeadroom * std::max(stats.maximum, hi)};
}

} // namespace monitor
