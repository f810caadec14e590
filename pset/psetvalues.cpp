#include "pset/psetvalues.h"

#include "base/numbertext.h"
#include "base/torque.h"

#include <cmath>
#include <functional>

namespace pset {

using app::PsetDefaultValues;
using app::PsetField;
using app::PsetRecord;

namespace {
constexpr double Percent = 100.0;
// The angle window every new Pset starts with.
constexpr int InitialAngleTarget = 2;
constexpr int InitialAngleHi = 3;
constexpr int InitialAngleLo = 1;

constexpr PsetField TorqueFields[] = {PsetField::TqTarget,    PsetField::TqHi,
                                      PsetField::TqLo,        PsetField::TqThreshold,
                                      PsetField::TqDownshift, PsetField::CycleComplete};

double whole(double v) {
    return base::roundHalfEven(v);
}

double value(const QString& text) {
    return base::textValue(text);
}

void setInitialAngles(PsetRecord& r) {
    r.setNumber(PsetField::AngleTarget, InitialAngleTarget);
    r.setNumber(PsetField::AngleHi, InitialAngleHi);
    r.setNumber(PsetField::AngleLo, InitialAngleLo);
}

// Speeds and flags as the defaults hold them.
void setDefaultSpeedsAndFlags(PsetRecord& r, const PsetDefaultValues& d) {
    r.setText(PsetField::RpmDownshift, d.DefaultRpmDownshift);
    r.setText(PsetField::RpmFreeSpeed, d.DefaultFreeSpeed);
    r.setText(PsetField::SoftStart, d.DefaultSoftStart);
    r.setText(PsetField::Ergo, d.DefaultErgo);
}

// What both kinds of defaults end with: angles, speeds, flags, percent, units and strategy.
void setCommonDefaults(PsetRecord& r, const PsetDefaultValues& d) {
    setInitialAngles(r);
    setDefaultSpeedsAndFlags(r, d);
    r.setText(PsetField::TqPercent, d.DefaultTorquePercent);
    r.setText(PsetField::Units, d.DefaultUnits);
    r.setNumber(PsetField::Strategy, app::TorqueControl);
}
// The limits around the target and its three shares (each `share` of a default percentage), then the
// common defaults.
void setDefaultsAround(PsetRecord& r, const PsetDefaultValues& d, double target,
                       const std::function<double(const QString& percent)>& share) {
    const double delta = share(d.DefaultTorquePercent);
    r.setNumber(PsetField::TqHi, target + delta);
    r.setNumber(PsetField::TqLo, target - delta);
    r.setNumber(PsetField::TqDownshift, share(d.DefaultDownshiftPercent));
    r.setNumber(PsetField::TqThreshold, share(d.DefaultThresholdPercent));
    r.setNumber(PsetField::CycleComplete, share(d.DefaultCycleCompletePercent));
    setCommonDefaults(r, d);
}
} // namespace

void resetToInitialValues(app::PsetTable& table) {
    for (int n = 1; n <= app::PsetTable::MaxPsets; ++n) {
        PsetRecord& r = table[n];
        for (PsetField f :
             {PsetField::Units, PsetField::Strategy, PsetField::TqTarget, PsetField::TqHi, PsetField::TqLo,
              PsetField::TqPercent, PsetField::TqDownshift, PsetField::TqThreshold, PsetField::CycleComplete,
              PsetField::RpmDownshift, PsetField::RpmFreeSpeed, PsetField::SoftStart, PsetField::Ergo})
            r.setNumber(f, 0);
        r.setNumber(PsetField::NumPsets, 1);
        setInitialAngles(r);
    }
}

void applyScaledDefaults(PsetRecord& r, const PsetDefaultValues& d) {
    const double target =
        whole(whole(whole(r.number(PsetField::TqTarget)) * value(d.DefaultTargetPercent)) / Percent);
    r.setNumber(PsetField::TqTarget, target);
    setDefaultsAround(r, d, target, [&](const QString& percent) {
        return whole(whole(target * whole(value(percent))) / Percent);
    });
}

void applyUnroundedDefaults(PsetRecord& r, const PsetDefaultValues& d) {
    const double target = r.number(PsetField::TqTarget);
    setDefaultsAround(r, d, target,
                      [&](const QString& percent) { return target * value(percent) / Percent; });
}

void applyAddedPsetValues(PsetRecord& r, const PsetDefaultValues& d) {
    r.setText(PsetField::Units, d.DefaultUnits);
    r.setNumber(PsetField::Strategy, app::TorqueControl);
    for (int f = int(PsetField::TqTarget); f <= int(PsetField::CycleComplete); ++f)
        r.setNumber(PsetField(f), 0);
    setDefaultSpeedsAndFlags(r, d);
}

void takeOverNextPset(PsetRecord& r, const PsetRecord& next) {
    for (PsetField f :
         {PsetField::Strategy, PsetField::TqTarget, PsetField::TqHi, PsetField::TqLo, PsetField::Ergo,
          PsetField::TqThreshold, PsetField::TqDownshift, PsetField::CycleComplete, PsetField::AngleTarget,
          PsetField::AngleHi, PsetField::AngleLo, PsetField::SoftStart, PsetField::RpmFreeSpeed,
          PsetField::RpmDownshift, PsetField::Units})
        r.setText(f, next.text(f));
}

void convertToDefaultUnits(PsetRecord& r, const PsetDefaultValues& d) {
    const int from = r.whole(PsetField::Units);
    const int to = defaultUnits(d);
    for (PsetField f : TorqueFields) {
        // A value too large for the new units keeps its text: far beyond what the controller takes, the
        // send refuses it, where a text of no number would read 0.
        if (const double converted = base::ConvertTorque(r.number(f), from, to); std::isfinite(converted))
            r.setNumber(f, converted);
    }
    r.setText(PsetField::Units, d.DefaultUnits);
}

int defaultUnits(const PsetDefaultValues& d) {
    return app::wholeNumber(d.DefaultUnits);
}

} // namespace pset
