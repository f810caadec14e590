#include "monitor/runrecord.h"

#include "base/numbertext.h"

namespace monitor {

namespace {
constexpr int ResultByte = 14;
constexpr int UnitsByte = 15;
constexpr int CurrentPsetByte = 16;
constexpr int PsetCountByte = 17;
constexpr int ResultCodeMask = 31;
constexpr double Tenths = 10;

int word(const RunRecordBytes& b, int first) {
    return (b[size_t(first)] & 0xFF) * 256 + (b[size_t(first + 1)] & 0xFF);
}
QString tenths(const RunRecordBytes& b, int first) {
    return base::numberText(word(b, first) / Tenths);
}

struct KnownResult {
    int code;
    const char* status;
    const QColor& torque;
    const QColor& angle;
    const char* log;
};
const KnownResult KnownResults[] = {
    {2, "Status: Torque Hi", ResultRed, ResultGreen, "Tq Hi"},
    {4, "Status: Torque Lo", ResultYellow, ResultGreen, "Tq Lo"},
    {8, "Status: Angle Hi", ResultGreen, ResultRed, "Angle Hi"},
    {10, "Status: Tq Hi/Angle Hi", ResultRed, ResultRed, "Tq Hi/Angle Hi"},
    {12, "Status: Tq Lo/Angle Hi", ResultYellow, ResultRed, "Tq Lo/Angle Hi"},
    {16, "Status: Angle Lo", ResultGreen, ResultYellow, "Angle Lo"},
    {18, "Status: Tq Hi/Angle Lo", ResultRed, ResultYellow, "Tq Hi/Angle Lo"},
    {20, "Status: Tq Lo/Angle Lo", ResultYellow, ResultYellow, "Tq Lo/Angle Lo"},
};

const char* const UnitsTexts[] = {"In-Lb", "Ft-Lb", "Kg-Cm", "Kg-M", "Nm"};
} // namespace

RunResult decodeRunRecord(const RunRecordBytes& b) {
    RunResult r;
    r.target = tenths(b, 0);
    r.torqueHigh = tenths(b, 2);
    r.torqueLow = tenths(b, 4);
    r.finalAngle = QString::number(word(b, 6));
    r.angleHigh = tenths(b, 8);
    r.angleLow = tenths(b, 10);
    r.finalTorque = tenths(b, 12);
    r.resultCode = b[ResultByte] & ResultCodeMask;
    r.unitsCode = b[UnitsByte];
    r.currentPset = b[CurrentPsetByte];
    r.psetCount = b[PsetCountByte];
    return r;
}

std::optional<ResultStatus> resultStatus(int code) {
    if (code % 2 != 0)
        return ResultStatus{QStringLiteral("Status: Accept"), ResultGreen, ResultGreen,
                            QStringLiteral("Accept")};
    for (const KnownResult& k : KnownResults) {
        if (k.code == code)
            return ResultStatus{QString::fromLatin1(k.status), k.torque, k.angle, QString::fromLatin1(k.log)};
    }
    return std::nullopt;
}

QString resultLogText(int code) {
    const std::optional<ResultStatus> known = resultStatus(code);
    return known ? known->logText : QString::number(code);
}

std::optional<QString> unitsText(int code) {
    if (code < 1 || code > int(std::size(UnitsTexts)))
        return std::nullopt;
    return QString::fromLatin1(UnitsTexts[code - 1]);
}

} // namespace monitor
