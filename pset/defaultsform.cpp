#include "pset/defaultsform.h"

#include "app/appservices.h"
#include "base/numbertext.h"

namespace pset {

using app::PsetDefaultValues;

namespace {

// DefaultValue 1..7: its label and the default it shows.
struct DefaultValueEntry {
    const char* caption;
    QString PsetDefaultValues::*field;
};
const std::array<DefaultValueEntry, DefaultValueCount> DefaultValues = {{
    {"Tq Target", &PsetDefaultValues::DefaultTargetPercent},
    {"Tq +/-", &PsetDefaultValues::DefaultTorquePercent},
    {"Tq Downshift", &PsetDefaultValues::DefaultDownshiftPercent},
    {"Tq Threshold", &PsetDefaultValues::DefaultThresholdPercent},
    {"Cycle Complete", &PsetDefaultValues::DefaultCycleCompletePercent},
    {"Rpm Freespeed", &PsetDefaultValues::DefaultFreeSpeed},
    {"Rpm DownShift", &PsetDefaultValues::DefaultRpmDownshift},
}};

constexpr const char* UnitsCaptions[DefaultUnitsCount] = {"In-Lb", "Ft-Lb", "Kg-Cm", "Kg-M", "Nm"};

const QString SaveQuestion = QStringLiteral("Save Defaults To File ?");
const QString SaveCaption = QStringLiteral("Save Defaults");

QString storedText(const QString& text) {
    return base::fixedField(text, app::PsetDefaultWidth);
}

QString flagText(bool on) {
    return storedText(on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

QString defaultValueCaption(int i) {
    return i >= 1 && i <= DefaultValueCount ? QString::fromLatin1(DefaultValues[std::size_t(i - 1)].caption)
                                            : QString();
}

QString defaultUnitsCaption(int i) {
    return i >= 1 && i <= DefaultUnitsCount ? QString::fromLatin1(UnitsCaptions[i - 1]) : QString();
}

PsetDefaultsForm defaultsForm(const PsetDefaultValues& defaults) {
    PsetDefaultsForm form;
    for (std::size_t i = 0; i < DefaultValues.size(); ++i)
        form.values[i] = base::textValue(defaults.*DefaultValues[i].field);
    const int units = app::wholeNumber(defaults.DefaultUnits);
    form.units = units >= 1 && units <= DefaultUnitsCount ? units : 0;
    form.softStart = app::wholeNumber(defaults.DefaultSoftStart) != 0;
    form.ergo = app::wholeNumber(defaults.DefaultErgo) != 0;
    return form;
}

void storeDefaultsForm(const PsetDefaultsForm& form, PsetDefaultValues& defaults) {
    for (std::size_t i = 0; i < DefaultValues.size(); ++i)
        defaults.*DefaultValues[i].field = storedText(base::numberText(form.values[i]));
    defaults.DefaultSoftStart = flagText(form.softStart);
    defaults.DefaultErgo = flagText(form.ergo);
    if (form.units >= 1 && form.units <= DefaultUnitsCount)
        defaults.DefaultUnits = storedText(QString::number(form.units));
}

PsetDefaultsForm PsetDefaultsEditor::Form_Load() {
    ctx_.palverin.LoadIniFiles();
    return defaultsForm(ctx_.palverin.settings.PsetDefaults);
}

bool PsetDefaultsEditor::mnuExit_Click(const PsetDefaultsForm& form) {
    if (!ctx_.dialogs.askYesNo(SaveQuestion, SaveCaption))
        return false;
    storeDefaultsForm(form, ctx_.palverin.settings.PsetDefaults);
    return ctx_.palverin.SaveIniFile();
}

} // namespace pset
