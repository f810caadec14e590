// The statistics against reference values: the three-rundown example, a textbook sample deviation, a
// larger data set against an independent computation, one value and equal values, negative data, the
// "##.000" texts and the chart scales.
#include "monitor/processstats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace monitor;

namespace {
// A deterministic set of 250 torques around 50 with two decimals, as a tool delivers them.
std::vector<double> plantData() {
    std::vector<double> x;
    unsigned state = 12345;
    for (int i = 0; i < 250; ++i) {
        state = state * 1103515245u + 12345u;
        const double noise = double((state >> 16) % 1000) / 1000.0 - 0.5;
        x.push_back(std::round((50.0 + 3.0 * std::sin(i * 0.37) + 2.0 * noise) * 100.0) / 100.0);
    }
    return x;
}
} // namespace

TEST(ProcessStats, ThreeRundownsAgainstTheLimits) {
    const std::vector<double> x{10, 12, 14};
    const ProcessStats s = processStats(x, 16, 8);
    EXPECT_EQ(s.count, 3);
    EXPECT_DOUBLE_EQ(s.mean, 12);
    EXPECT_DOUBLE_EQ(s.sigma, 2);
    EXPECT_DOUBLE_EQ(s.threeSigma, 6);
    EXPECT_DOUBLE_EQ(s.sixSigma, 12);
    EXPECT_DOUBLE_EQ(s.range, 4);
    EXPECT_DOUBLE_EQ(*s.cp, 8.0 / 12.0);
    EXPECT_DOUBLE_EQ(*s.cpk, 4.0 / 6.0);
    EXPECT_EQ(statsLabelTexts(s, {"12", "16", "8"}, "/data/run.txt"),
              (QStringList{"Pop: 3", "Mean: 12.000", "Cp: .667", "Cpk: .667", "6Sigma: 12.000",
                           "Range: 4.000", "Max: 14", "Min: 10", "", "Tq Target: 12", "Tq Hi: 16", "Tq Lo: 8",
                           "File: /data/run.txt"}));
}

TEST(ProcessStats, SampleDeviationAndAnOffCentreProcess) {
    // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, squared deviations 32, sample deviation sqrt(32 / 7).
    const std::vector<double> x{2, 4, 4, 4, 5, 5, 7, 9};
    const ProcessStats s = processStats(x, 12, 3);
    EXPECT_DOUBLE_EQ(s.mean, 5);
    EXPECT_NEAR(s.sigma, 2.138089935299395, 1e-12);
    EXPECT_NEAR(*s.cp, 9 / (6 * 2.138089935299395), 1e-12);
    // Nearer the low limit: Cpk from mean - Lo.
    EXPECT_NEAR(*s.cpk, 2 / (3 * 2.138089935299395), 1e-12);
}

TEST(ProcessStats, LargerSetAgreesWithAnIndependentComputation) {
    const std::vector<double> x = plantData();
    const double hi = 58.5;
    const double lo = 44.0;
    // The sum-of-squares formula in extended precision.
    long double sx = 0;
    long double sxx = 0;
    for (double v : x) {
        sx += v;
        sxx += (long double)v * v;
    }
    const long double n = x.size();
    const long double sigma = std::sqrt((n * sxx - sx * sx) / (n * (n - 1)));
    const long double mean = sx / n;
    const double cp = double((hi - lo) / (6 * sigma));
    const double cpk = double(std::min(hi - mean, mean - lo) / (3 * sigma));

    const ProcessStats s = processStats(x, hi, lo);
    EXPECT_EQ(s.count, 250);
    EXPECT_NEAR(s.mean, double(mean), 1e-9);
    EXPECT_NEAR(s.sigma, double(sigma), 1e-9);
    EXPECT_NEAR(*s.cp, cp, 1e-9);
    EXPECT_NEAR(*s.cpk, cpk, 1e-9);
    EXPECT_GT(s.sigma, 1.0); // a real spread, not a degenerate set
}

TEST(ProcessStats, OneValueOrEqualValuesHaveNoCapability) {
    for (const std::vector<double>& x : {std::vector<double>{12.5}, std::vector<double>(7, 0.1)}) {
        SCOPED_TRACE(x.size());
        const ProcessStats s = processStats(x, 16, 8);
        EXPECT_EQ(s.sigma, 0);
        EXPECT_FALSE(s.cp);
        EXPECT_FALSE(s.cpk);
        const QStringList labels = statsLabelTexts(s, {"12", "16", "8"}, "f");
        EXPECT_EQ(labels[2], "Cp: n/a");
        EXPECT_EQ(labels[3], "Cpk: n/a");
        EXPECT_EQ(labels[4], "6Sigma: .000");
        EXPECT_EQ(labels[5], "Range: .000");
    }
    const ProcessStats one = processStats(std::vector<double>{12.5}, 16, 8);
    EXPECT_EQ(statsLabelTexts(one, {}, {})[0], "Pop: 1");
    EXPECT_EQ(statsLabelTexts(one, {}, {})[1], "Mean: 12.500");
    EXPECT_EQ(statsLabelTexts(one, {}, {})[6], "Max: 12.5");
}

TEST(ProcessStats, NegativeAndLargeValuesKeepTheirExtremes) {
    const ProcessStats negative = processStats(std::vector<double>{-3, -1.5, -7}, 0, -10);
    EXPECT_EQ(negative.maximum, -1.5);
    EXPECT_EQ(negative.minimum, -7);
    const QStringList labels = statsLabelTexts(negative, {}, {});
    EXPECT_EQ(labels[6], "Max: -1.5");
    EXPECT_EQ(labels[7], "Min: -7");
    EXPECT_EQ(labels[1], "Mean: -3.833");
    const ProcessStats large = processStats(std::vector<double>{61000, 70000.25}, 80000, 50000);
    EXPECT_EQ(statsLabelTexts(large, {}, {})[7], "Min: 61000");
}

TEST(ProcessStats, NumbersHaveThreeDecimalsAndNoLeadingZero) {
    EXPECT_EQ(statsNumberText(0.5), ".500");
    EXPECT_EQ(statsNumberText(-0.5), "-.500");
    EXPECT_EQ(statsNumberText(0), ".000");
    EXPECT_EQ(statsNumberText(0.0004), ".000");
    EXPECT_EQ(statsNumberText(0.6665), ".667"); // half away from zero on the decimal text
    EXPECT_EQ(statsNumberText(12), "12.000");
    EXPECT_EQ(statsNumberText(-12.3456), "-12.346");
    EXPECT_EQ(statsNumberText(1234.5), "1234.500");
}

TEST(ProcessStats, NothingLoadedShowsZeros) {
    EXPECT_EQ(statsLabelTexts(ProcessStats(), {}, {}),
              (QStringList{"Pop: 0", "Mean: .000", "Cp: .000", "Cpk: .000", "6Sigma: .000", "Range: .000",
                           "Max: 0", "Min: 0", "", "Tq Target:", "Tq Hi:", "Tq Lo:", "File: "}));
}

TEST(ProcessStats, ChartScalesFromTheValuesAndLimits) {
    const ProcessStats s = processStats(std::vector<double>{10, 12, 14}, 16, 8);
    const RunChartScale run = runChartScale(s, 16, 8);
    EXPECT_EQ(run.xMaximum, 4);
    EXPECT_EQ(run.top, 18);   // 1.1 x 16 = 17.6
    EXPECT_EQ(run.bottom, 4); // 8 - 4
    const HistogramScale h = histogramScale(s, 16, 8);
    EXPECT_DOUBLE_EQ(h.top, 24); // 1.5 x 16, not rounded
    EXPECT_EQ(h.bottom, 2);      // 8 - 5.6 = 2.4

    // Values beyond the limits set the scale; a negative smallest value reaches further down.
    const ProcessStats wide = processStats(std::vector<double>{-5, 25.3}, 16, 8);
    const RunChartScale w = runChartScale(wide, 16, 8);
    EXPECT_EQ(w.top, 28);    // 27.83
    EXPECT_EQ(w.bottom, -8); // -5 - 2.5 = -7.5, half to even
    EXPECT_DOUBLE_EQ(histogramScale(wide, 16, 8).top, 1.5 * 25.3);
    EXPECT_EQ(histogramScale(wide, 16, 8).bottom, -8); // -5 - 3.5 = -8.5, half to even
}
