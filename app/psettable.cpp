#include "app/psettable.h"

#include "base/numbertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace app {

PsetRecord::PsetRecord() {
    for (int f = 0; f < Fields; ++f)
        setText(PsetField(f), QString());
}

void PsetRecord::setText(PsetField field, const QString& text) {
    fields_[index(field)] = base::fixedField(text, width(field));
}

double PsetRecord::number(PsetField field) const {
    return base::textValue(text(field));
}

int wholeNumber(const QString& text) {
    // A field holds at most ten characters, but a hand-made file may hold anything: stay inside int.
    constexpr double Lowest = std::numeric_limits<int>::min();
    constexpr double Highest = std::numeric_limits<int>::max();
    const double rounded = base::roundHalfEven(base::textValue(text));
    return std::isnan(rounded) ? 0 : int(std::clamp(rounded, Lowest, Highest));
}

void PsetRecord::setNumber(PsetField field, double value) {
    setText(field, base::numberText(value));
}

} // namespace app
