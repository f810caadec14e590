#include "controls/arrayextremes.h"

#include <cmath>

namespace controls {

ArrayExtremes maxMin(std::span<const double> values) {
    ArrayExtremes result;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = values[i];
        if (!std::isfinite(x))
            continue;
        const auto index = std::ptrdiff_t(i);
        if (result.maximumIndex < 0 || x > result.maximum) {
            result.maximum = x;
            result.maximumIndex = index;
        }
        if (result.minimumIndex < 0 || x < result.minimum) {
            result.minimum = x;
            result.minimumIndex = index;
        }
    }
    return result;
}

} // namespace controls
