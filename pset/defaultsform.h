#pragma once
// The default values of a new Pset as the defaults window shows them: seven value editors (in an order of
// their own, not the settings file's), the units choice and the two flags. Opening reads the settings file
// again, so the window shows what is stored; Exit asks "Save Defaults To File ?" and on Yes stores the
// window's values and rewrites the settings file.
//
//   pset::PsetDefaultsEditor editor(ctx);
//   pset::PsetDefaultsForm form = editor.Form_Load();
//   form.units = 3;                                   // "Kg-Cm"
//   editor.mnuExit_Click(form);                       // Yes: units "3" in the settings file

#include "app/appsettings.h"

#include <QString>

#include <array>

namespace app {
class AppServices;
}

namespace pset {

// The value editors DefaultValue 1..7, at indices 0..6.
inline constexpr int DefaultValueCount = 7;
// Editors 1..5 hold percentages, 6 and 7 speeds.
inline constexpr int DefaultPercentCount = 5;
inline constexpr double DefaultPercentMaximum = 1000;
// The units choice optStrategy 1..5 is the units code.
inline constexpr int DefaultUnitsCount = 5;

struct PsetDefaultsForm {
    // DefaultValue 1..7: Tq Target %, Tq +/- %, Tq Downshift %, Tq Threshold %, Cycle Complete %,
    // Rpm Freespeed, Rpm DownShift.
    std::array<double, DefaultValueCount> values{};
    // The selected units code 1..5; 0 when the stored code is none of them (no option selected).
    int units = 0;
    bool softStart = false;
    bool ergo = false;
    bool operator==(const PsetDefaultsForm&) const = default;
};

// The label of DefaultValue i (1..7) and of units option i (1..5).
QString defaultValueCaption(int i);
QString defaultUnitsCaption(int i);

// The form of the defaults, and the defaults of a form (each value in its shortest decimal form cut to
// 10 characters, the flags "1" or "0"; units kept when no option is selected).
PsetDefaultsForm defaultsForm(const app::PsetDefaultValues& defaults);
void storeDefaultsForm(const PsetDefaultsForm& form, app::PsetDefaultValues& defaults);

class PsetDefaultsEditor {
public:
    explicit PsetDefaultsEditor(app::AppServices& ctx) : ctx_(ctx) {}

    // The settings file read again (changes in memory not saved are dropped); the stored defaults.
    PsetDefaultsForm Form_Load();
    // Asks whether to save; on Yes the form's values become the defaults and the settings file is
    // rewritten. Returns whether the defaults were saved.
    bool mnuExit_Click(const PsetDefaultsForm& form);

private:
    app::AppServices& ctx_;
};

} // namespace pset
