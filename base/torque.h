#pragma once
// Torque units of the controller (1 lb-in, 2 lb-ft, 3 kg-cm, 4 kg-m, 5 Nm) and the conversion between them
// with the program's fixed factors. The factors are not exact inverses of each other; values converted
// there and back change slightly, exactly as in every file and report the controller's tools have written.

#include <QString>

namespace base {

enum TorqueUnits : int { LbIn = 1, LbFt = 2, KgCm = 3, KgM = 4, Nm = 5, TenthsLbIn = 6 };

// Value x factor(from, to). Equal codes, a from-code outside 1..5 or a to-code outside the table
// (0, 7 and above, or 6 from any code but 1) return the value unchanged.
double ConvertTorque(double value, int fromUnits, int toUnits);

// "Units: lb-in" ... "Units: Nm" for the torque units codes 1..5; empty for any other code.
QString unitsText(int units);

} // namespace base
