#include "pset/ui/numbertextedit.h"

#include "base/numbertext.h"

#include <QLineEdit>
#include <QLocale>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace pset {

namespace {
// The spin box rounds every value to its decimals and holds it to its range. With these, every number a
// record's 10-character text gives (at most 8 decimals, any sign) comes back as the same double.
constexpr int HeldDecimals = 20;
constexpr double Unlimited = std::numeric_limits<double>::max();

// value rounded to decimals, as the spin box rounds.
double rounded(double value, int decimals) {
    return QString::number(value, 'f', decimals).toDouble();
}
} // namespace

NumberTextEdit::NumberTextEdit(double maximum, QWidget* parent)
    : controls::NumEdit(parent), entryMaximum_(maximum) {
    setLocale(QLocale::c());
    controls::NumEdit::setDecimals(HeldDecimals);
    controls::NumEdit::setRange(-Unlimited, Unlimited);
}

void NumberTextEdit::setEntryRange(double minimum, double maximum) {
    entryMinimum_ = minimum;
    entryMaximum_ = std::max(minimum, maximum);
}

void NumberTextEdit::setEntryDecimals(int decimals) {
    entryDecimals_ = std::clamp(decimals, 0, HeldDecimals);
}

double NumberTextEdit::entryValue(double value) const {
    return std::clamp(rounded(value, entryDecimals_), entryMinimum_, entryMaximum_);
}

QString NumberTextEdit::textFromValue(double value) const {
    return base::numberText(value);
}

QString NumberTextEdit::numberText(const QString& text) const {
    QString number = text;
    if (!prefix().isEmpty() && number.startsWith(prefix()))
        number.remove(0, prefix().size());
    if (!suffix().isEmpty() && number.endsWith(suffix()))
        number.chop(suffix().size());
    return number.trimmed();
}

QValidator::State NumberTextEdit::validate(QString& text, int& pos) const {
    const QValidator::State state = controls::NumEdit::validate(text, pos);
    if (state != QValidator::Acceptable)
        return state;
    const QString number = numberText(text);
    const qsizetype point = number.indexOf(u'.');
    if (point >= 0 && number.size() - point - 1 > entryDecimals_)
        return QValidator::Invalid;
    const double value = valueFromText(text);
    if (value > entryMaximum_)
        return QValidator::Invalid;
    // Below the minimum more digits may still reach it; a sign never does.
    if (value < entryMinimum_)
        return value < 0 ? QValidator::Invalid : QValidator::Intermediate;
    return QValidator::Acceptable;
}

void NumberTextEdit::stepBy(int steps) {
    if (steps == 0)
        return;
    // A value typed and not yet committed is the user's first.
    interpretText();
    const double stepped = entryValue(value() + steps * singleStep());
    // Set as the user's change: userEdited follows when the value changes.
    QDoubleSpinBox::setValue(stepped);
    if (style()->styleHint(QStyle::SH_SpinBox_SelectOnStep, nullptr, this))
        selectAll();
}

QAbstractSpinBox::StepEnabled NumberTextEdit::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() < entryMaximum_)
        enabled |= StepUpEnabled;
    if (value() > entryMinimum_)
        enabled |= StepDownEnabled;
    return enabled;
}

} // namespace pset
