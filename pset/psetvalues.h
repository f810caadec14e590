#pragma once
// The values a Pset record receives: the initial values of a new project, the defaults scaled from its
// target (whole numbers, for a new Pset) or computed without rounding ("Set To Defaults"), the values of
// an added Pset, the move of the Psets after a removed one, and the conversion of its torque fields into
// the default units.

#include "app/appsettings.h"
#include "app/psettable.h"

namespace pset {

// Records 1..8 get the initial values: one Pset, all values 0 but the angles 2, 3 and 1 (target, high,
// low). The curve file is left as it is.
void resetToInitialValues(app::PsetTable& table);

// Scaled defaults: from the record's own target, each step rounded to a whole number (halves to even):
// target := target x DefaultTargetPercent / 100, limits target +/- DefaultTorquePercent, downshift,
// threshold and cycle complete their percentages of the target; angles 2, 3, 1; speeds, flags, percent
// and units from the defaults; strategy 1.
void applyScaledDefaults(app::PsetRecord& record, const app::PsetDefaultValues& defaults);

// Unrounded defaults: the same from the target (which stays as it is) without rounding, each value in its
// shortest decimal form cut to 10 characters (50 x 15 / 100 gives 7.5).
void applyUnroundedDefaults(app::PsetRecord& record, const app::PsetDefaultValues& defaults);

// An added Pset: the default units, strategy 1, target to cycle complete 0 (angles and percent included),
// speeds and flags from the defaults.
void applyAddedPsetValues(app::PsetRecord& record, const app::PsetDefaultValues& defaults);

// The fifteen fields a Pset takes over from the next one when a Pset before it is removed (not the Pset
// count, the percent or the curve file).
void takeOverNextPset(app::PsetRecord& record, const app::PsetRecord& next);

// The six torque fields (target, high, low, threshold, downshift, cycle complete) converted from the
// record's units into the default units, which the record then holds. A value the new units cannot hold
// as a number (9E+307 kg-m in Nm) keeps its text.
void convertToDefaultUnits(app::PsetRecord& record, const app::PsetDefaultValues& defaults);

// The default units code, rounded.
int defaultUnits(const app::PsetDefaultValues& defaults);

} // namespace pset
