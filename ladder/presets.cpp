#include "ladder/presets.h"

#include "base/numbertext.h"

#include <algorithm>
#include <cmath>

namespace ladder {

namespace {

bool inRange(int n, int count) {
    return n >= 1 && n <= count;
}

// A value kept inside minimum..maximum; a value that is no number at all becomes the minimum.
double bounded(double value, double minimum, double maximum) {
    return std::isnan(value) ? minimum : std::clamp(value, minimum, maximum);
}

} // namespace

double LadderPresets::cwCounter(int n) const {
    return inRange(n, Counters) ? counters_[size_t(n - 1)] : 0;
}

double LadderPresets::cwTimer(int n) const {
    return inRange(n, Timers) ? timers_[size_t(n - 1)] : 0;
}

double LadderPresets::counterMaximum(int n) {
    return n <= SmallCounters ? SmallCounterMaximum : CounterMaximum;
}

void LadderPresets::setCounter(int n, double value) {
    if (inRange(n, Counters))
        counters_[size_t(n - 1)] = bounded(value, Minimum, counterMaximum(n));
}

void LadderPresets::setTimer(int n, double value) {
    if (inRange(n, Timers))
        timers_[size_t(n - 1)] = bounded(value, Minimum, TimerMaximum);
}

void LadderPresets::reset() {
    *this = LadderPresets();
}

QString presetText(double value) {
    return base::numberText(value);
}

} // namespace ladder
