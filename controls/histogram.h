#pragma once
// Histogram of a sample series over a fixed range, as the statistics window draws it.

#include <span>
#include <vector>

namespace controls {

struct Histogram {
    std::vector<int> counts;     // samples per interval, lowest interval first
    std::vector<double> centres; // the middle of each interval, where its count is drawn
};

// Splits [lo, hi] into `intervals` equal intervals and counts the values in each: a value x belongs to
// interval i when lo + i*w <= x < lo + (i+1)*w; a value equal to hi counts in the last interval. Values
// outside [lo, hi] and values that are not finite are not counted, nor is a value whose interval cannot be
// worked out (an interval too narrow for a double to divide by). Fewer than one interval, or a range that is
// empty or not finite, gives an empty histogram; a range up to the whole double range is counted in full.
Histogram histogram(std::span<const double> values, int intervals, double lo, double hi);

} // namespace controls
