#pragma once
// Butterworth low-pass filter for torque and angle curves before they are drawn.
//
// The filter is designed by the bilinear transform (with the cut-off pre-warped, so the response is
// exactly -3 dB at the cut-off) as a cascade of second-order sections, plus one first-order section for an
// odd order; the cascade stays stable at any order where one high-order polynomial would not. It runs
// once, forward, from a zero state: it is causal, so it delays and rounds a curve's peak (the curve window
// warns that the filter "Will Effect The Peak Value").
//
//   QString error;
//   if (auto smooth = controls::lowpass(samples, sampleCount, 24, order, &error)) draw(*smooth);
//   else show(error);

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace controls {

// Highest filter order accepted; far beyond what a curve needs, it bounds the work a bad entry can cause.
inline constexpr int MaxLowpassOrder = 32;

// One second-order section: y = b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2] (a0 = 1).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};

class LowpassFilter {
public:
    // The filter for sampling rate fs and cut-off fc (same units, e.g. Hz or "per curve"), or nothing
    // with the reason in error when fs or fc is not positive, fc is not below fs / 2, or order is outside
    // 1..MaxLowpassOrder.
    static std::optional<LowpassFilter> design(double fs, double fc, int order, QString* error = nullptr);

    // The filtered samples, as many as given.
    std::vector<double> apply(std::span<const double> samples) const;
    // The magnitude of the frequency response at frequency f (1 at 0, 1/sqrt(2) at the cut-off).
    double gainAt(double f) const;
    const std::vector<Biquad>& sections() const { return sections_; }

private:
    LowpassFilter(double fs, std::vector<Biquad> sections) : fs_(fs), sections_(std::move(sections)) {}

    double fs_;
    std::vector<Biquad> sections_;
};

// Designs the filter and applies it; nothing (and the reason in error) when the design is refused.
std::optional<std::vector<double>> lowpass(std::span<const double> samples, double fs, double fc, int order,
                                           QString* error = nullptr);

} // namespace controls
