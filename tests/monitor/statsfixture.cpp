#include "tests/monitor/statsfixture.h"

#include "base/numbertext.h"
#include "base/textlines.h"

namespace statstest {

namespace {
constexpr int Cell = 12;
constexpr int RuleWidth = 76;

QString cells(const QStringList& texts) {
    QString line;
    for (const QString& t : texts)
        line += base::fixedField(t, Cell);
    return line;
}
} // namespace

QStringList reportLines(const ReportContents& report) {
    const QString rule(RuleWidth, u'-');
    QStringList lines{QStringLiteral("Company   : Brenstal"),
                      QStringLiteral("File Type : Controller Rundown Data"),
                      QStringLiteral("Time      : 10:15:30 AM"),
                      QStringLiteral("Date      : 3/14/2009"),
                      QStringLiteral("  "),
                      QStringLiteral("Parameter Set #: 1"),
                      base::fixed40(QStringLiteral("Units: Nm")),
                      base::fixed40(QStringLiteral("Strategy: Torque Control")),
                      base::fixed40(QStringLiteral("Torque Target: ") + report.target),
                      base::fixed40(QStringLiteral("Torque Hi Limit: ") + report.hi),
                      base::fixed40(QStringLiteral("Torque Lo Limit: ") + report.lo),
                      base::fixed40(QStringLiteral("Torque Threshold: 5")),
                      QStringLiteral("  "),
                      cells({"#", "RESULT", "TORQUE", "ANGLE", "TORQUE X"}),
                      rule};
    for (int i = 0; i < report.torques.size(); ++i)
        lines << cells({QString::number(i + 1), QStringLiteral("ACCEPT"), report.torques[i], "45", "0"});
    if (report.closed)
        lines << rule;
    return lines;
}

QByteArray threeRundownReport() {
    ReportContents report;
    report.torques = QStringList{"10.00", "12.00", "14.00"};
    return base::joinLinesCrLf(reportLines(report));
}

} // namespace statstest
