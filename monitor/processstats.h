#pragma once
// Process-capability statistics of a series of final torques against the torque limits: count, mean,
// extremes, range, sigma, Cp and Cpk, and how the statistics window shows and scales them.

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace monitor {

struct ProcessStats {
    int count = 0;
    double mean = 0;
    double maximum = 0;
    double minimum = 0;
    double range = 0;
    double sigma = 0;
    double threeSigma = 0;
    double sixSigma = 0;
    // Nothing when sigma is 0 (one value, or all values equal): the capability is not defined then.
    std::optional<double> cp = 0;
    std::optional<double> cpk = 0;
};

// The statistics of the torques against the limits hi and lo (Calc_Stats). Maximum and minimum start from
// the first value; sigma is 0 for a single value and for equal values.
ProcessStats processStats(std::span<const double> torques, double hi, double lo);

// A result as the window shows it, "##.000": three decimals and no "0" before the point (0.5 gives
// ".500", -0.5 gives "-.500", 12 gives "12.000").
QString statsNumberText(double value);

// The limit texts and the file shown beside the results.
struct StatsLimitTexts {
    QString target;
    QString hi;
    QString lo;
};

// The thirteen result labels (lblStats 0 to 12): "Pop: ", "Mean: ", "Cp: ", "Cpk: ", "6Sigma: ",
// "Range: ", "Max: ", "Min: ", an empty label, "Tq Target:", "Tq Hi:", "Tq Lo:" (a blank and the value
// follow when there is one) and "File: " with the file's path. Cp and Cpk read "n/a" when not defined.
QStringList statsLabelTexts(const ProcessStats& stats, const StatsLimitTexts& limits, const QString& file);

// The run chart: X from 0 to count + 1; Y from bottom to top, both rounded to whole numbers:
// top = 1.1 x the larger of the maximum and hi, bottom = m - |0.5 m| with m the smaller of the minimum and
// lo.
struct RunChartScale {
    double xMaximum = 0;
    double bottom = 0;
    double top = 0;
};
RunChartScale runChartScale(const ProcessStats& stats, double hi, double lo);

// The histogram's range: top = 1.5 x the larger of the maximum and hi (not rounded), bottom = m - |0.7 m|
// rounded to a whole number, m the smaller of the minimum and lo.
struct HistogramScale {
    double bottom = 0;
    double top = 0;
};
HistogramScale histogramScale(const ProcessStats& stats, double hi, double lo);

} // namespace monitor
