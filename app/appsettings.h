#pragma once
// The program's own settings kept in "Brenstal.ini" besides the link settings (which live in
// clink::LinkState): the user password and the default values of a new Pset.

#include <QString>

#include <array>

namespace app {

// Width of each Pset default: a fixed 10-character text, left-aligned and blank-padded.
inline constexpr int PsetDefaultWidth = 10;

// The ten default values of a new Pset, each held in its 10-character form ("80" and eight blanks);
// readers take their numeric value.
struct PsetDefaultValues {
    QString DefaultTargetPercent;
    QString DefaultThresholdPercent;
    QString DefaultDownshiftPercent;
    QString DefaultCycleCompletePercent;
    QString DefaultErgo;
    QString DefaultTorquePercent;
    QString DefaultRpmDownshift;
    QString DefaultFreeSpeed;
    QString DefaultSoftStart;
    // Units code of new Psets: 1 lb-in, 2 lb-ft, 3 kg-cm, 4 kg-m, 5 Nm.
    QString DefaultUnits;

    // The fields in the order of settings-file lines 3 to 12.
    static constexpr std::array<QString PsetDefaultValues::*, 10> FileOrder = {
        &PsetDefaultValues::DefaultTargetPercent,
        &PsetDefaultValues::DefaultThresholdPercent,
        &PsetDefaultValues::DefaultDownshiftPercent,
        &PsetDefaultValues::DefaultCycleCompletePercent,
        &PsetDefaultValues::DefaultErgo,
        &PsetDefaultValues::DefaultTorquePercent,
        &PsetDefaultValues::DefaultRpmDownshift,
        &PsetDefaultValues::DefaultFreeSpeed,
        &PsetDefaultValues::DefaultSoftStart,
        &PsetDefaultValues::DefaultUnits,
    };
};

struct AppSettings {
    // The user password (grants access level 1). Empty until the settings are loaded.
    QString Password;
    PsetDefaultValues PsetDefaults;
};

} // namespace app
