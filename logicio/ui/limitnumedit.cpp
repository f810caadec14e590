#include "logicio/ui/limitnumedit.h"

#include <algorithm>

namespace logicio {

LimitNumEdit::LimitNumEdit(int minimum, int maximum, QWidget* parent) : controls::NumEdit(parent) {
    setDecimals(0);
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

std::optional<long long> LimitNumEdit::typedNumber(const QString& text) const {
    bool ok = false;
    const long long number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<long long>(number) : std::nullopt;
}

QValidator::State LimitNumEdit::validate(QString& text, int& pos) const {
    const QValidator::State state = controls::NumEdit::validate(text, pos);
    // A number outside the limits may still be typed; it is held to them on commit.
    if (state == QValidator::Invalid && typedNumber(text))
        return QValidator::Intermediate;
    return state;
}

void LimitNumEdit::fixup(QString& text) const {
    if (const std::optional<long long> number = typedNumber(text)) {
        const auto held =
            std::clamp(*number, static_cast<long long>(minimum()), static_cast<long long>(maximum()));
        text = textFromValue(double(held));
        return;
    }
    controls::NumEdit::fixup(text);
}

} // namespace logicio
