#include "controls/histogram.h"

#include <algorithm>
#include <cmath>

namespace controls {

Histogram histogram(std::span<const double> values, int intervals, double lo, double hi) {
    Histogram result;
    if (intervals < 1 || !std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo))
        return result;
    const double width = (hi - lo) / intervals;
    result.counts.assign(std::size_t(intervals), 0);
    result.centres.resize(std::size_t(intervals));
    for (int i = 0; i < intervals; ++i)
        result.centres[std::size_t(i)] = lo + (i + 0.5) * width;
    for (const double x : values) {
        if (!std::isfinite(x) || x < lo || x > hi)
            continue;
        // The division can land one interval too far for a value just below an edge: clamp into range.
        const int i = std::clamp(int(std::floor((x - lo) / width)), 0, intervals - 1);
        ++result.counts[std::size_t(i)];
    }
    return result;
}

} // namespace controls
