#include "controls/lowpass.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace controls {

namespace {

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

// The low-pass section whose analog prototype is s^2 + s/q + 1, mapped with the pre-warped K = tan(pi fc/fs).
Biquad secondOrder(double k, double q) {
    const double norm = 1.0 / (1.0 + k / q + k * k);
    Biquad s;
    s.b0 = k * k * norm;
    s.b1 = 2.0 * s.b0;
    s.b2 = s.b0;
    s.a1 = 2.0 * (k * k - 1.0) * norm;
    s.a2 = (1.0 - k / q + k * k) * norm;
    return s;
}

// The section of the real pole of an odd order: prototype s + 1.
Biquad firstOrder(double k) {
    const double norm = 1.0 / (1.0 + k);
    Biquad s;
    s.b0 = k * norm;
    s.b1 = s.b0;
    s.a1 = (k - 1.0) * norm;
    return s;
}

} // namespace

std::optional<LowpassFilter> LowpassFilter::design(double fs, double fc, int order, QString* error) {
    if (!std::isfinite(fs) || !std::isfinite(fc) || fs <= 0 || fc <= 0) {
        setError(error, QStringLiteral("The sampling rate and the cut-off frequency must be above 0"));
        return std::nullopt;
    }
    if (fc >= fs / 2) {
        setError(error, QStringLiteral("The cut-off frequency must be below half the sampling rate"));
        return std::nullopt;
    }
    if (order < 1 || order > MaxLowpassOrder) {
        setError(error, QStringLiteral("The filter order must be from 1 to %1").arg(MaxLowpassOrder));
        return std::nullopt;
    }
    const double k = std::tan(std::numbers::pi * fc / fs);
    std::vector<Biquad> sections;
    // Butterworth poles in conjugate pairs at angles (2i - 1) pi / (2 order) from the imaginary axis.
    for (int i = 1; i <= order / 2; ++i) {
        const double angle = (2 * i - 1) * std::numbers::pi / (2.0 * order);
        sections.push_back(secondOrder(k, 1.0 / (2.0 * std::sin(angle))));
    }
    if (order % 2 == 1)
        sections.push_back(firstOrder(k));
    return LowpassFilter(fs, std::move(sections));
}

std::vector<double> LowpassFilter::apply(std::span<const double> samples) const {
    std::vector<double> out(samples.begin(), samples.end());
    for (const Biquad& s : sections_) {
        // Transposed direct form II: two state values per section.
        double z1 = 0;
        double z2 = 0;
        for (double& x : out) {
            const double y = s.b0 * x + z1;
            z1 = s.b1 * x - s.a1 * y + z2;
            z2 = s.b2 * x - s.a2 * y;
            x = y;
        }
    }
    return out;
}

double LowpassFilter::gainAt(double f) const {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * f / fs_); // z^-1
    const std::complex<double> z2 = z1 * z1;
    double gain = 1.0;
    for (const Biquad& s : sections_)
        gain *= std::abs((s.b0 + s.b1 * z1 + s.b2 * z2) / (1.0 + s.a1 * z1 + s.a2 * z2));
    return gain;
}

std::optional<std::vector<double>> lowpass(std::span<const double> samples, double fs, double fc, int order,
                                           QString* error) {
    const auto filter = LowpassFilter::design(fs, fc, order, error);
    if (!filter)
        return std::nullopt;
    return filter->apply(samples);
}

} // namespace controls
