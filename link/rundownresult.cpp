#include "link/rundownresult.h"

#include "base/numbertext.h"
#include "base/torque.h"
#include "link/databuffer.h"
#include "link/replywords.h"

namespace clink {

namespace {
// Byte offsets of the result record.
constexpr int TargetAt = 0;
constexpr int TorqueHighAt = 2;
constexpr int TorqueLowAt = 4;
constexpr int FinalAngleAt = 6;
constexpr int AngleHighAt = 8;
constexpr int AngleLowAt = 10;
constexpr int FinalTorqueAt = 12;
constexpr int ResultAt = 14;
constexpr int UnitsAt = 15;
constexpr int CurrentPsetAt = 16;
constexpr int PsetCountAt = 17;
// The result code is the low five bits of the result byte.
constexpr int ResultCodeMask = 31;
// Torques and angle limits are sent in tenths.
constexpr double Tenths = 10.0;

QString resultText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("Result: Unknown");
    case 1:
        return QStringLiteral("Result: Accept");
    case 2:
        return QStringLiteral("Result: Tq Hi");
    case 4:
        return QStringLiteral("Result: Tq Lo");
    case 8:
        return QStringLiteral("Result: Angle Hi");
    case 16:
        return QStringLiteral("Result: Angle Lo");
    case 10:
        return QStringLiteral("Result: Tq Hi / Angle Hi");
    case 18:
        return QStringLiteral("Result: TqHi / Angle Lo");
    case 12:
        return QStringLiteral("Result: Tq Lo / Angle Hi");
    case 20:
        return QStringLiteral("Result: Tq Lo / Angle Lo");
    default:
        return {};
    }
}

} // namespace

void fillRundownResult(RundownResultRecord& r, const DataBufferArray& db) {
    auto configured = [&](int at) { return unsignedWord(db[at], db[at + 1]) / Tenths; };
    auto measured = [&](int at) { return signedWord(db[at], db[at + 1]); };
    auto set = [&](int i, double value, const QString& label) {
        r.values[size_t(i)] = value;
        r.texts[size_t(i)] = base::fixed40(label + base::numberText(value));
    };
    set(1, configured(TargetAt), QStringLiteral("Tq Target: "));
    set(2, configured(TorqueHighAt), QStringLiteral("Tq Hi: "));
    set(3, configured(TorqueLowAt), QStringLiteral("Tq Lo: "));
    set(4, measured(FinalAngleAt), QStringLiteral("Angle Final: "));
    set(5, configured(AngleHighAt), QStringLiteral("Angle Hi: "));
    set(6, configured(AngleLowAt), QStringLiteral("Angle Lo: "));
    set(0, measured(FinalTorqueAt) / Tenths, QStringLiteral("Tq Final: "));

    const int code = db[ResultAt] & ResultCodeMask;
    r.values[7] = code;
    if (const QString text = resultText(code); !text.isEmpty())
        r.texts[7] = base::fixed40(text);

    const int units = db[UnitsAt];
    r.values[8] = units;
    if (const QString text = base::unitsText(units); !text.isEmpty())
        r.texts[9] = base::fixed40(text);
    r.values[9] = db[CurrentPsetAt];
    r.texts[8] = base::fixed40(QStringLiteral("Current Pset: ") + base::numberText(r.values[9]));
    set(10, db[PsetCountAt], QStringLiteral("Total Psets: "));
}

} // namespace clink
