#include "app/valueentry.h"

#include "base/numbertext.h"

#include <algorithm>

namespace app {

void NumberField::setMaximum(double m) {
    maximum = m;
    minimum = std::min(minimum, m);
    value = std::clamp(value, minimum, maximum);
}

void NumberField::setMinimum(double m) {
    minimum = m;
    maximum = std::max(maximum, m);
    value = std::clamp(value, minimum, maximum);
}

void NumberField::setValue(double v) {
    value = std::clamp(v, minimum, maximum);
}

QString NumberField::text() const {
    return base::numberText(value);
}

void ValueEntryForm::SetframeLogger(bool show) {
    if (show)
        panel = ValuePanel::Logger;
}

void ValueEntryForm::SetFrameValue(bool show) {
    if (show)
        panel = ValuePanel::Value;
}

void ValueEntryForm::SetFrameEeprom(bool show) {
    if (show)
        panel = ValuePanel::Eeprom;
}

void ValueEntryForm::prepareValue(const QString& caption, long minimum, long maximum, long value) {
    LblCaption(caption);
    SetFrameValue(true);
    CwMaxVal(maximum);
    CwMinVal(minimum);
    CwVal(value);
}

void ValueEntryForm::prepareEeprom(const QString& title, long lastAddress, long largestData) {
    SetFrameEeprom(true);
    SetLblEeprom(title);
    CwEeAddMax(lastAddress);
    CwEeAddMin(0);
    CwEeAddValue(0);
    CwEeDataMax(largestData);
    CwEeDataMin(0);
    CwEeDataValue(0);
}

int valueEntryNumber(const QString& result) {
    return base::CInt(base::textValue(result)).value_or(0);
}

void applyValueEntryButton(const ValueEntryForm& form, ValueButton button, ValueEntryResults& results) {
    if (form.optionClicked)
        results.ValueEntryOption = QString::number(form.option);
    const bool enter = button == ValueButton::Enter;
    switch (form.panel) {
    case ValuePanel::Value:
        results.ValueEntryResult = enter ? form.value.text() : QString();
        break;
    case ValuePanel::Logger:
        if (enter) {
            results.ValueEntryResult = form.loggerRecords.text();
            results.ValueEntryData = form.loggerFile.text();
            results.ValueEntryOption = QString::number(form.option);
        } else {
            results.ValueEntryResult = QString();
        }
        break;
    case ValuePanel::Eeprom:
        if (enter) {
            results.ValueEntryResult = form.eeAddress.text();
            results.ValueEntryData = form.eeData.text();
        } else {
            // A caller of the EEPROM panel recognises Cancel by an address of 0.
            results.ValueEntryResult = QStringLiteral("0");
        }
        break;
    }
}

bool ValueEntry::show() {
    const ValueButton button = prompt_->ask(form_);
    applyValueEntryButton(form_, button, results);
    form_ = ValueEntryForm();
    return button == ValueButton::Enter;
}

} // namespace app
