#include "controls/histogram.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {
// Where interval i of n over [lo, hi] has its middle. A range wider than a double can hold (lo and hi
// near its limits with opposite signs) is measured from its middle, so no sum leaves the double range.
double centre(int i, int intervals, double lo, double hi, double width) {
    const double offset = i + 0.5;
    if (std::isfinite(hi - lo))
        return lo + offset * width;
    // Only one interval is wider than a double holds, and its middle is the range's.
    const double shift = offset - intervals / 2.0;
    return lo / 2 + hi / 2 + (shift == 0 ? 0 : shift * width);
}
} // namespace

Histogram histogram(std::span<const double> values, int intervals, double lo, double hi) {
    Histogram result;
    if (intervals < 1 || !std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo))
        return result;
    // hi - lo overflows for the widest ranges; each end divided first stays finite from two intervals on.
    const double width = std::isfinite(hi - lo) ? (hi - lo) / intervals : hi / intervals - lo / intervals;
    result.counts.assign(std::size_t(intervals), 0);
    result.centres.resize(std::size_t(intervals));
    for (int i = 0; i < intervals; ++i)
        result.centres[std::size_t(i)] = centre(i, intervals, lo, hi, width);
    for (const double x : values) {
        if (!std::isfinite(x) || x < lo || x > hi)
            continue;
        const double offset = x - lo;
        const double at = std::floor(std::isfinite(offset) ? offset / width : x / width - lo / width);
        // An index that is not a number (an interval too narrow to divide by) places nothing.
        if (!std::isfinite(at))
            continue;
        // The division can land one interval too far for a value just below an edge: clamp into range
        // before the index becomes an int.
        const int i = int(std::clamp(at, 0.0, double(intervals - 1)));
        ++result.counts[std::size_t(i)];
    }
    return result;
}

} // namespace controls
