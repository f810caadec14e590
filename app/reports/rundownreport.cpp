#include "app/reports/rundownreport.h"

#include "base/numbertext.h"

namespace app {

namespace {
constexpr int ResultCodeMask = 31;
constexpr int RuleWidth = 76;
constexpr int ByteShift = 256;
// Torque bytes are tenths; the target scales them as a percentage.
constexpr double TenthsDivisor = 10.0;
constexpr double PercentDivisor = 100.0;

enum RecordByte : int { Result = 0, TorqueHi, TorqueLo, AngleHi, AngleLo, TorqueXLo, TorqueXHi };

QString cell(const QString& text) {
    return base::fixedField(text, RundownCellWidth);
}
} // namespace

QString rundownResultText(int resultByte) {
    const int code = resultByte & ResultCodeMask;
    switch (code) {
    case 0:
    case 1:
        return QStringLiteral("ACCEPT");
    case 2:
        return QStringLiteral("TH");
    case 4:
        return QStringLiteral("TL");
    case 8:
        return QStringLiteral("AH");
    case 16:
        return QStringLiteral("AL");
    case 10:
        return QStringLiteral("TH/AH");
    case 18:
        return QStringLiteral("TH/AL");
    case 12:
        return QStringLiteral("TL/AH");
    case 20:
        return QStringLiteral("TL/AL");
    default:
        return QStringLiteral("CODE ") + QString::number(code);
    }
}

QStringList makeRundownReport(const RundownReportInput& in, const clink::DataBufferArray& log) {
    const QString rule(RuleWidth, u'-');
    QStringList lines{QStringLiteral("Company   : Brenstal"),
                      QStringLiteral("File Type : Controller Rundown Data"),
                      QStringLiteral("Time      : ") + in.time,
                      QStringLiteral("Date      : ") + in.date,
                      QStringLiteral("  "),
                      QStringLiteral("Parameter Set #: ") + in.psetText};
    lines += in.psetLines;
    lines << QStringLiteral("  ")
          << cell(QStringLiteral("#")) + cell(QStringLiteral("RESULT")) + cell(QStringLiteral("TORQUE")) +
                 cell(QStringLiteral("ANGLE")) + cell(QStringLiteral("TORQUE X"))
          << rule;
    const double T = in.torqueTarget;
    for (int r = 1; r <= RundownRecords; ++r) {
        const int b = RundownRecordBytes * (r - 1);
        auto D = [&](int k) { return double(log[b + k]); };
        const double torque = ((D(TorqueHi) * ByteShift + D(TorqueLo)) / TenthsDivisor) * T / PercentDivisor;
        if (torque == 0)
            continue;
        const double angle = D(AngleHi) * ByteShift + D(AngleLo);
        const double torqueX =
            ((D(TorqueXHi) * ByteShift + D(TorqueXLo)) / TenthsDivisor) * T / TenthsDivisor / TenthsDivisor;
        lines << cell(QString::number(r)) + cell(rundownResultText(log[b + Result])) +
                     cell(base::formatFixed(torque, 2)) + cell(base::numberText(angle)) +
                     cell(base::numberText(torqueX));
    }
    lines << rule;
    return lines;
}

} // namespace app
