#include "base/torque.h"

#include <array>
#include <cstddef>

namespace base {

namespace {
// Rows: from lb-in, lb-ft, kg-cm, kg-m, Nm; columns: to lb-in, lb-ft, kg-cm, kg-m, Nm, tenths of lb-in.
constexpr std::array<std::array<double, 6>, 5> Factors = {{
    {1, 0.083, 1.152, 0.0115, 0.113, 10},
    {12, 1, 13.83, 0.138, 1.356, 1},
    {0.868, 0.072, 1, 0.01, 0.098, 1},
    {86.8, 7.233, 100, 1, 9.807, 1},
    {8.851, 0.738, 10.2, 0.102, 1, 1},
}};
} // namespace

QString unitsText(int units) {
    static const std::array<QString, 5> unitNames = {
        QStringLiteral("Units: lb-in"), QStringLiteral("Units: lb-ft"), QStringLiteral("Units: kg-cm"),
        QStringLiteral("Units: kg-m"),  QStringLiteral("Units: Nm"),
    };
    return units >= LbIn && units <= Nm ? unitNames[std::size_t(units - LbIn)] : QString();
}

double ConvertTorque(double value, int fromUnits, int toUnits) {
    if (fromUnits < LbIn || fromUnits > Nm || toUnits < LbIn || toUnits > TenthsLbIn || fromUnits == toUnits)
        return value;
    const double factor = Factors[std::size_t(fromUnits - 1)][std::size_t(toUnits - 1)];
    if (factor == 1)
        return value;
    return value * factor;
}

} // namespace base
