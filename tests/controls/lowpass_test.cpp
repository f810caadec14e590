// The Butterworth low-pass filter: reference coefficients, gain 1 at DC and -3 dB at the cut-off for every
// order, a sine at the cut-off through the filter, stability at high orders, and the refused designs.
#include "controls/lowpass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using controls::lowpass;
using controls::LowpassFilter;

namespace {
const double HalfPower = 1.0 / std::sqrt(2.0);

std::vector<double> sine(double fs, double f, int n) {
    std::vector<double> x(std::size_t(n), 0.0);
    for (int i = 0; i < n; ++i)
        x[std::size_t(i)] = std::sin(2 * std::numbers::pi * f * i / fs);
    return x;
}

double peakFrom(const std::vector<double>& x, std::size_t from) {
    double peak = 0;
    for (std::size_t i = from; i < x.size(); ++i)
        peak = std::max(peak, std::abs(x[i]));
    return peak;
}
} // namespace

TEST(Lowpass, SecondOrderMatchesTheTextbookCoefficients) {
    // Butterworth order 2 at a fifth of the Nyquist rate (fs 1000, fc 100):
    // b = 0.0674552739, 0.1349105478, 0.0674552739; a = 1, -1.1429805025, 0.4128015981.
    const auto f = LowpassFilter::design(1000, 100, 2);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->sections().size(), 1u);
    const auto& s = f->sections()[0];
    EXPECT_NEAR(s.b0, 0.0674552739, 1e-9);
    EXPECT_NEAR(s.b1, 0.1349105478, 1e-9);
    EXPECT_NEAR(s.b2, 0.0674552739, 1e-9);
    EXPECT_NEAR(s.a1, -1.1429805025, 1e-9);
    EXPECT_NEAR(s.a2, 0.4128015981, 1e-9);
}

TEST(Lowpass, UnitGainAtDcAndHalfPowerAtTheCutOffForEveryOrder) {
    for (int order = 1; order <= 10; ++order) {
        SCOPED_TRACE(order);
        const auto f = LowpassFilter::design(1000, 24, order);
        ASSERT_TRUE(f);
        EXPECT_EQ(int(f->sections().size()), (order + 1) / 2);
        EXPECT_NEAR(f->gainAt(0), 1.0, 1e-12);
        EXPECT_NEAR(f->gainAt(24), HalfPower, 1e-9);
        EXPECT_NEAR(20 * std::log10(f->gainAt(24)), -3.0103, 1e-3);
        // Steeper with the order: an octave above, the gain is near 2^-order.
        EXPECT_NEAR(f->gainAt(48), 1.0 / std::sqrt(1 + std::pow(2.0, 2 * order)), 0.02);
    }
}

TEST(Lowpass, SamplesThroughTheFilterKeepDcAndHalveThePowerAtTheCutOff) {
    // A constant settles on itself; a sine at the cut-off leaves with 1/sqrt(2) of its amplitude.
    const std::vector<double> level(2000, 37.5);
    const auto flat = lowpass(level, 1000, 24, 4);
    ASSERT_TRUE(flat);
    ASSERT_EQ(flat->size(), level.size());
    EXPECT_NEAR(flat->back(), 37.5, 1e-9);
    EXPECT_LT((*flat)[0], 37.5); // causal, from rest: the curve rises

    const auto wave = lowpass(sine(1000, 24, 8000), 1000, 24, 4);
    ASSERT_TRUE(wave);
    EXPECT_NEAR(peakFrom(*wave, 4000), HalfPower, 0.005);
    const auto high = lowpass(sine(1000, 200, 8000), 1000, 24, 4);
    EXPECT_LT(peakFrom(*high, 4000), 0.001);
}

TEST(Lowpass, HighOrdersStayStable) {
    // A narrow cut-off at order 32: the impulse response dies away instead of growing.
    std::vector<double> impulse(20000, 0.0);
    impulse[0] = 1.0;
    const auto out = lowpass(impulse, 6000, 24, controls::MaxLowpassOrder);
    ASSERT_TRUE(out);
    for (double y : *out)
        ASSERT_TRUE(std::isfinite(y));
    EXPECT_LT(peakFrom(*out, 15000), 1e-9);
}

TEST(Lowpass, RefusedDesignsSayWhy) {
    const std::vector<double> x{1, 2, 3};
    QString error;
    EXPECT_FALSE(lowpass(x, 48, 24, 2, &error));
    EXPECT_EQ(error, "The cut-off frequency must be below half the sampling rate");
    EXPECT_FALSE(lowpass(x, 100, 24, 0, &error));
    EXPECT_EQ(error, "The filter order must be from 1 to 32");
    EXPECT_FALSE(lowpass(x, 100, 24, controls::MaxLowpassOrder + 1, &error));
    EXPECT_FALSE(lowpass(x, 0, 24, 2, &error));
    EXPECT_EQ(error, "The sampling rate and the cut-off frequency must be above 0");
    EXPECT_FALSE(lowpass(x, 100, std::nan(""), 2));
    EXPECT_TRUE(lowpass(x, 49, 24, 1));
    EXPECT_TRUE(lowpass({}, 100, 24, 2)->empty());
}
