#include "controls/ui/numedit.h"

namespace controls {

NumEdit::NumEdit(QWidget* parent) : QDoubleSpinBox(parent) {
    // A typed value counts once it is committed, not at every keystroke on the way to it.
    setKeyboardTracking(false);
    QDoubleSpinBox::setRange(-DefaultLimit, DefaultLimit);
    connect(this, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!programmatic_)
            emit userEdited(value);
    });
}

template <typename Change> void NumEdit::programmatic(Change change) {
    const bool outer = programmatic_;
    programmatic_ = true;
    change();
    programmatic_ = outer;
}

void NumEdit::setValue(double value) {
    programmatic([&] { QDoubleSpinBox::setValue(value); });
}

void NumEdit::setMinimum(double minimum) {
    programmatic([&] { QDoubleSpinBox::setMinimum(minimum); });
}

void NumEdit::setMaximum(double maximum) {
    programmatic([&] { QDoubleSpinBox::setMaximum(maximum); });
}

void NumEdit::setRange(double minimum, double maximum) {
    programmatic([&] { QDoubleSpinBox::setRange(minimum, maximum); });
}

void NumEdit::setDecimals(int decimals) {
    programmatic([&] { QDoubleSpinBox::setDecimals(decimals); });
}

} // namespace controls
