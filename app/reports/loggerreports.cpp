#include "app/reports/loggerreports.h"

#include "app/reports/rundownreport.h"
#include "base/numbertext.h"
#include "base/torque.h"

namespace app {

namespace {
constexpr int ByteShift = 256;
constexpr double Tenths = 10.0;
// An hour entry above this is a PM hour with bit 7 set; at or above PmHour it prints " PM".
constexpr int LastPlainHour = 12;
constexpr int PmHour = 13;
constexpr int HourMask = 127;
constexpr int TwoDigitMinute = 10;

enum DirectoryEntry : int { Hour = 1, Minute = 2, DateField1 = 3, DateField2 = 4 };
enum PsetEntry : int { Target = 0, High = 2, Low = 4, AngleHigh = 6, AngleLow = 8, Units = 11 };
enum RundownByte : int { Result = 0, TorqueHi, TorqueLo, AngleHi, AngleLo, TorqueXLo, TorqueXHi };

int word(const clink::DataBufferArray& D, int hi, int lo) {
    return D[hi] * ByteShift + D[lo];
}

QString readingSuffix(int units) {
    switch (units) {
    case base::LbIn:
        return QStringLiteral(" in-lb");
    case base::LbFt:
        return QStringLiteral(" ft-lb");
    case base::KgCm:
        return QStringLiteral(" kg-cm");
    case base::KgM:
        return QStringLiteral(" kg-m");
    case base::Nm:
        return QStringLiteral(" Nm");
    default:
        return {};
    }
}

bool knownUnits(int units) {
    return units >= base::LbIn && units <= base::Nm;
}

QString cell(const QString& text) {
    return base::fixedField(text, LoggerCellWidth);
}

// Torque in the units from a raw value in tenths, scaled by the target in units and cut to tenths
// step by step as the logger's report does.
double scaledTorque(int raw, double targetUnits) {
    return base::Int(base::Int(base::Int(raw / Tenths) * targetUnits) / Tenths) / Tenths;
}
} // namespace

QString loggerTimeLine(const clink::DataBufferArray& D) {
    const int hourEntry = D[Hour];
    const int minute = D[Minute];
    const int hour = hourEntry <= LastPlainHour ? hourEntry : (hourEntry & HourMask);
    return QStringLiteral("Time: ") + QString::number(hour) +
           (minute >= TwoDigitMinute ? QStringLiteral(":") : QStringLiteral(":0")) + QString::number(minute) +
           (hourEntry < PmHour ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

QString loggerDateLine(const clink::DataBufferArray& D) {
    return QStringLiteral("Date: ") + QString::number(D[DateField1]) + u'/' + QString::number(D[DateField2]);
}

LoggerPsetData loggerPsetData(const clink::DataBufferArray& D, int f) {
    const int b = LoggerPsetBlockIndex + LoggerPsetEntries * (f - 1);
    return {word(D, b + Target, b + Target + 1),     word(D, b + High, b + High + 1),
            word(D, b + Low, b + Low + 1),           word(D, b + AngleHigh, b + AngleHigh + 1),
            word(D, b + AngleLow, b + AngleLow + 1), D[b + Units]};
}

bool storeLoggerPsetData(const LoggerPsetData& p, int f, PsetTable& table) {
    if (f < 1 || f >= PsetTable::Records)
        return false;
    PsetRecord& r = table[f];
    r.setText(PsetField::Units, QString::number(p.units));
    r.setText(PsetField::TqTarget, QString::number(p.torqueTarget));
    r.setText(PsetField::TqHi, QString::number(p.torqueHigh));
    r.setText(PsetField::TqLo, QString::number(p.torqueLow));
    r.setText(PsetField::AngleHi, QString::number(p.angleHigh));
    r.setText(PsetField::AngleLo, QString::number(p.angleLow));
    return true;
}

QStringList makeLoggerRouteReport(const clink::DataBufferArray& D, int f, int n) {
    QStringList lines{QStringLiteral("Company: Brenstal"),
                      QStringLiteral("File Type: Last 100 Controller Rundowns Stored"),
                      QStringLiteral("File #: ") + QString::number(f),
                      loggerTimeLine(D),
                      loggerDateLine(D),
                      QStringLiteral("  "),
                      QStringLiteral("---------- PARAMETER SET DATA ----------"),
                      QStringLiteral("  ")};
    const LoggerPsetData p = loggerPsetData(D, f);
    lines << QStringLiteral("Torque Target: ") + base::numberText(p.torqueTarget / Tenths)
          << QStringLiteral("Torque Target Hi: ") + base::numberText(p.torqueHigh / Tenths)
          << QStringLiteral("Torque Target Lo: ") + base::numberText(p.torqueLow / Tenths)
          << QStringLiteral("Torque Angle Hi: ") + base::numberText(p.angleHigh / Tenths)
          << QStringLiteral("Torque Angle Lo: ") +
                 base::fixedField(QString::number(p.angleLow), PsetRecord::FieldWidth);
    if (knownUnits(p.units))
        lines << base::unitsText(p.units);
    lines << QStringLiteral("  ") << QStringLiteral("---------- RUNDOWN DATA ----------")
          << QStringLiteral("  ") << QStringLiteral(" ")
          << cell(QStringLiteral("#")) + cell(QStringLiteral("RESULT")) + cell(QStringLiteral("TORQUE")) +
                 cell(QStringLiteral("ANGLE")) + cell(QStringLiteral("TORQUE X"));
    // Both torques scale by the target in units (the stored target is in tenths).
    const double targetUnits = p.torqueTarget / Tenths;
    for (int k = 1; k <= n; ++k) {
        const int i = LoggerRecordsIndex + LoggerRundownBytes * (k - 1);
        const int torque = word(D, i + TorqueHi, i + TorqueLo);
        const int angle = word(D, i + AngleHi, i + AngleLo);
        const int torqueX = word(D, i + TorqueXHi, i + TorqueXLo);
        lines << cell(QString::number(k)) + cell(rundownResultText(D[i + Result])) +
                     cell(base::numberText(scaledTorque(torque, targetUnits))) +
                     cell(QString::number(angle)) +
                     cell(base::numberText(scaledTorque(torqueX, targetUnits)));
    }
    return lines;
}

QStringList makeLoggerTransducerReport(const clink::DataBufferArray& D, int f, int n, int u) {
    QStringList lines{QStringLiteral("Company: Brenstal"),
                      QStringLiteral("File Type: Transducer Rundowns Stored"),
                      QStringLiteral("File #: ") + QString::number(f), loggerTimeLine(D), loggerDateLine(D)};
    for (int k = 1; k <= n; ++k) {
        const int i = LoggerRecordsIndex + LoggerReadingBytes * (k - 1);
        QString line = QStringLiteral("Reading #") + QString::number(k) + QStringLiteral(" :");
        if (knownUnits(u)) {
            const double value = base::ConvertTorque(word(D, i, i + 1), base::LbIn, u) / Tenths;
            line += base::formatFixed(value, 1) + readingSuffix(u);
        }
        lines << line;
    }
    return lines;
}

} // namespace app
