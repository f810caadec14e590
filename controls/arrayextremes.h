#pragma once
// The largest and smallest value of a sample array and where they stand, as the curve window and the
// statistics window need them.

#include <cstddef>
#include <span>

namespace controls {

struct ArrayExtremes {
    double maximum = 0;
    std::ptrdiff_t maximumIndex = -1; // first index holding the maximum; -1 for an empty array
    double minimum = 0;
    std::ptrdiff_t minimumIndex = -1; // first index holding the minimum; -1 for an empty array
};

// Both extremes start from the first finite value, so all-negative data has a negative maximum. Values
// that are not finite are skipped; an array without a finite value gives 0 and index -1 for both.
ArrayExtremes maxMin(std::span<const double> values);

} // namespace controls
