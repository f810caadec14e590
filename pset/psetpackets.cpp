#include "pset/psetpackets.h"

#include "base/numbertext.h"
#include "base/torque.h"
#include "link/commandcodes.h"

namespace pset {

using app::PsetField;
using app::PsetRecord;

namespace {
constexpr double Scale = 10.0;
constexpr int ByteShift = 8;
constexpr int ByteMask = 0xFF;
constexpr int WordMax = 0xFFFF;
constexpr int ByteMax = 0xFF;
constexpr int PacketBytes = clink::PsetPacketBytes;

// Byte entries of a Pset's 28 bytes (packet k's byte j is entry 7k + j - 1).
enum BlockEntry : int {
    StrategyAt = 0,
    ErgoAt = 7,
    MasterAt = 14,
    SoftStartAt = 21,
    UnitsAt = 26,
    NumberAt = 27
};
// Packet 3 always tells the controller to use its own (master) transducer.
constexpr int MasterTransducer = 1;
// A flag byte that means on; the master transducer byte that means the external one.
constexpr int FlagOn = 1;
constexpr int ExternalTransducer = 1;

// The eleven values: the field, where its low byte sits, its report label and its name in messages.
struct WordEntry {
    PsetField field;
    int at;
    const char* reportLabel;
    const char* name;
};
constexpr WordEntry Words[] = {
    {PsetField::TqTarget, 1, "Target: ", "Tq Target"},
    {PsetField::TqHi, 3, "Target Hi: ", "Tq Hi Limit"},
    {PsetField::TqLo, 5, "Target Lo: ", "Tq Lo Limit"},
    {PsetField::TqThreshold, 8, "Tq Threshold: ", "Tq Threshold"},
    {PsetField::TqDownshift, 10, "Tq Downshift: ", "Tq Downshift"},
    {PsetField::CycleComplete, 12, "Tq Cycle Complete: ", "Cycle Complete"},
    {PsetField::AngleTarget, 15, "Angle Target: ", "Angle Target"},
    {PsetField::AngleHi, 17, "Angle Hi: ", "Angle Hi Limit"},
    {PsetField::AngleLo, 19, "Angle Lo: ", "Angle Lo Limit"},
    {PsetField::RpmFreeSpeed, 22, "Rpm_Freespeed: ", "Rpm Freespeed"},
    {PsetField::RpmDownshift, 24, "Rpm_Downshift: ", "Rpm DownShift"},
};

// The one-byte fields taken from the record as whole numbers.
struct ByteEntry {
    PsetField field;
    int at;
    const char* name;
};
constexpr ByteEntry Bytes[] = {
    {PsetField::Strategy, StrategyAt, "Strategy"},
    {PsetField::Ergo, ErgoAt, "Ergo"},
    {PsetField::SoftStart, SoftStartAt, "Soft Start"},
};

QString strategyLine(int code) {
    switch (code) {
    case app::TorqueControl:
        return QStringLiteral("Strategy: Tq Control");
    case app::TorqueControlAngleMonitor:
        return QStringLiteral("Strategy: Tq Control / Angle Monitor");
    case app::TorqueMonitorAngleControl:
        return QStringLiteral("Strategy: Tq Monitor / Angle Control");
    case app::TorqueControlAngleControl:
        return QStringLiteral("Startegy: Tq Control / Angle Control");
    case app::RevTorqueControlAngleControl:
        return QStringLiteral("Startegy: Rev. Tq Control / Angle Control");
    case app::RevTorqueMonitorAngleControl:
        return QStringLiteral("Strategy: Rev. Tq Monitor / Angle Control");
    case app::RevTorqueControlAngleMonitor:
        return QStringLiteral("Strategy: Rev. Tq Control / Angle Monitor");
    case app::RevTorqueControl:
        return QStringLiteral("Strategy: Rev. Tq Control");
    default:
        return {};
    }
}

// A received value: the unsigned word / 10.
double wordValue(const PsetBlock& b, int at) {
    return ((b[size_t(at + 1)] << ByteShift) + b[size_t(at)]) / Scale;
}

QString outOfRange(const char* name, const QString& highest) {
    return QString::fromLatin1(name) + QStringLiteral(" Out Of Range (0 To ") + highest + u')';
}

QString yesNo(bool on) {
    return on ? QStringLiteral("Yes") : QStringLiteral("No");
}
} // namespace

std::optional<QString> psetEntryError(const PsetRecord& r) {
    const double target = r.number(PsetField::TqTarget);
    const double downshift = r.number(PsetField::TqDownshift);
    const double threshold = r.number(PsetField::TqThreshold);
    if (target > r.number(PsetField::TqHi))
        return QStringLiteral("  Torque Target > Torque Hi Limit  ");
    if (r.number(PsetField::TqLo) > target)
        return QStringLiteral("  Torque Lo Limit > Torque Target  ");
    if (downshift > target)
        return QStringLiteral("  DownShift > Torque Target  ");
    if (threshold > downshift)
        return QStringLiteral("  Threshold > DownShift  ");
    if (threshold == downshift)
        return QStringLiteral("  Threshold = DownShift  ");
    if (r.number(PsetField::CycleComplete) > threshold)
        return QStringLiteral("  CycleComplete > Threshold  ");
    return std::nullopt;
}

PsetRecord scaledPset(const PsetRecord& record) {
    PsetRecord scaled;
    for (const WordEntry& w : Words)
        scaled.setNumber(w.field, record.number(w.field) * Scale);
    return scaled;
}

std::optional<PsetPackets> psetPackets(const PsetRecord& record, const PsetRecord& scaled, int n,
                                       QString& fault) {
    PsetBlock block{};
    for (const WordEntry& w : Words) {
        const double v = base::roundHalfEven(scaled.number(w.field));
        if (!(v >= 0 && v <= WordMax)) {
            fault = outOfRange(w.name, base::numberText(WordMax / Scale));
            return std::nullopt;
        }
        const int word = int(v);
        block[size_t(w.at)] = word & ByteMask;
        block[size_t(w.at + 1)] = word >> ByteShift;
    }
    for (const ByteEntry& e : Bytes) {
        const double v = base::roundHalfEven(record.number(e.field));
        if (!(v >= 0 && v <= ByteMax)) {
            fault = outOfRange(e.name, QString::number(ByteMax));
            return std::nullopt;
        }
        block[size_t(e.at)] = int(v);
    }
    block[MasterAt] = MasterTransducer;
    block[UnitsAt] = record.whole(PsetField::Units) & ByteMask;
    if (n < 0 || n > ByteMax) {
        fault = outOfRange("Parameter Set", QString::number(ByteMax));
        return std::nullopt;
    }
    block[NumberAt] = n;

    PsetPackets packets{};
    for (size_t k = 0; k < packets.size(); ++k) {
        packets[k][0] = clink::codes::PsetPacket1 + int(k);
        for (int j = 1; j <= PacketBytes; ++j)
            packets[k][size_t(j)] = block[k * PacketBytes + size_t(j - 1)];
    }
    return packets;
}

QStringList receivedPsetReport(int n, const PsetBlock& b) {
    QStringList lines{QStringLiteral("   "),
                      QStringLiteral("----- PARAMETER SET ") + QString::number(n) + QStringLiteral(" -----"),
                      QStringLiteral("Parameter Set #: ") + QString::number(b[NumberAt])};
    if (const QString units = base::unitsText(b[UnitsAt]); !units.isEmpty())
        lines << units;
    if (const QString strategy = strategyLine(b[StrategyAt]); !strategy.isEmpty())
        lines << strategy;
    for (const WordEntry& w : Words)
        lines << QString::fromLatin1(w.reportLabel) + base::numberText(wordValue(b, w.at));
    lines << QStringLiteral("Soft Start: ") + yesNo(b[SoftStartAt] == FlagOn)
          << QStringLiteral("Ergo: ") + yesNo(b[ErgoAt] == FlagOn)
          << QStringLiteral("Master Transducer: ") + (b[MasterAt] == ExternalTransducer
                                                          ? QStringLiteral("External")
                                                          : QStringLiteral("Internal"));
    return lines;
}

void storeReceivedPset(const PsetBlock& b, PsetRecord& r) {
    r.setNumber(PsetField::Strategy, b[StrategyAt]);
    for (const WordEntry& w : Words)
        r.setNumber(w.field, wordValue(b, w.at));
    r.setNumber(PsetField::SoftStart, b[SoftStartAt] == FlagOn ? 1 : 0);
    r.setNumber(PsetField::Ergo, b[ErgoAt] == FlagOn ? 1 : 0);
    r.setNumber(PsetField::Units, b[UnitsAt]);
}

} // namespace pset
