#include "link/psetreport.h"

#include "base/numbertext.h"
#include "base/torque.h"
#include "link/databuffer.h"

namespace clink {

namespace {

// Positions in the received Pset.
enum PsetByte : int {
    Strategy = 0,
    TorqueTarget = 1,
    TorqueHi = 3,
    TorqueLo = 5,
    Ergo = 7,
    Threshold = 8,
    Downshift = 10,
    CycleComplete = 12,
    AngleTarget = 15,
    AngleHi = 17,
    AngleLo = 19,
    SoftStart = 21,
    RpmFreeSpeed = 22,
    RpmDownshift = 24,
    Units = 26,
};

// Report fields (value k, text k).
enum Field : int {
    FTorqueTarget = 0,
    FTorqueHi = 1,
    FTorqueLo = 2,
    FDownshift = 4,
    FThreshold = 5,
    FCycleComplete = 6,
    FAngleTarget = 7,
    FAngleHi = 8,
    FAngleLo = 9,
    FRpmFreeSpeed = 10,
    FRpmDownshift = 11,
    FSoftStart = 12,
    FErgo = 13,
    FUnits = 14,
    FStrategy = 15,
};

constexpr double ValueScale = 10.0;
constexpr int Yes = 1;

// The texts as the controller's reports have always printed them, misspellings included.
QString strategyText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("Strategy: Tq Control");
    case 2:
        return QStringLiteral("Strategy: Tq Control / Angle Monitor");
    case 3:
        return QStringLiteral("Strategy: Tq Monitor / Angle Control");
    case 4:
        return QStringLiteral("Startegy: Tq Control / Angle Control");
    case 31:
        return QStringLiteral("Strategy: Reverse Tq Control");
    case 30:
        return QStringLiteral("Strategy: Reverse Tq Control / Angle Monitor");
    case 29:
        return QStringLiteral("Strategy: Reverse Tq Monitor / Angle Control");
    case 28:
        return QStringLiteral("Startegy: Reverse Tq Control / Angle Control");
    default:
        return {};
    }
}

} // namespace

void buildPsetReportRecord(PsetReportRecord& record, const std::array<int, PsetBytes>& pset) {
    auto byteAt = [&](int i) { return pset[size_t(i)]; };
    auto setValue = [&](int field, double value, const QString& text) {
        record.Values[size_t(field)] = value;
        record.Texts[size_t(field)] = base::fixed40(text);
    };
    auto setCoded = [&](int field, int code, const QString& text) {
        record.Values[size_t(field)] = code;
        if (!text.isEmpty())
            record.Texts[size_t(field)] = base::fixed40(text);
    };
    // A configured value: an unsigned 16-bit word, low byte first, in tenths.
    auto word = [&](int field, int first, const char* label) {
        const double value = (byteAt(first + 1) * 256 + byteAt(first)) / ValueScale;
        setValue(field, value, QLatin1String(label) + base::numberText(value));
    };
    auto yesNo = [&](int field, int at, const char* label) {
        const int v = byteAt(at);
        setValue(field, v, QLatin1String(label) + (v == Yes ? QStringLiteral("Yes") : QStringLiteral("No")));
    };

    setCoded(FUnits, byteAt(Units), base::unitsText(byteAt(Units)));
    setCoded(FStrategy, byteAt(Strategy), strategyText(byteAt(Strategy)));
    word(FTorqueTarget, TorqueTarget, "Torque Target: ");
    word(FTorqueHi, TorqueHi, "Torque Hi Limit: ");
    word(FTorqueLo, TorqueLo, "Torque Lo Limit: ");
    word(FThreshold, Threshold, "Torque Threshold: ");
    word(FDownshift, Downshift, "Torque Downshift: ");
    word(FCycleComplete, CycleComplete, "Torque Cycle Complete: ");
    word(FAngleTarget, AngleTarget, "Angle Target: ");
    word(FAngleHi, AngleHi, "Angle Hi Limit: ");
    word(FAngleLo, AngleLo, "Angle Lo Limit: ");
    word(FRpmFreeSpeed, RpmFreeSpeed, "Rpm Freespeed: ");
    word(FRpmDownshift, RpmDownshift, "Rpm Downshift: ");
    yesNo(FSoftStart, SoftStart, "Soft Start: ");
    yesNo(FErgo, Ergo, "Ergo: ");
}

} // namespace clink
