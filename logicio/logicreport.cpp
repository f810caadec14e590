#include "logicio/logicreport.h"

namespace logicio {

namespace {
const QString RungRuleEdge = QStringLiteral("--------------------------");
const QString RungEndRule = QString(61, u'-');
const QString BlankLine = QStringLiteral("   ");
} // namespace

QStringList makeLogicReport(const LogicRungs& rungs, const QString& fileName, const QString& date) {
    QStringList lines = {
        QStringLiteral("Company : Brenstal"),
        QStringLiteral("Type    : Logic I/O"),
        QStringLiteral("Filename: ") + fileName,
        QStringLiteral("Date    : ") + date,
        QStringLiteral(" "),
    };
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r) {
        const LogicRung& rung = rungs[r];
        lines << RungRuleEdge + QStringLiteral(" RUNG #%1 ").arg(r) + RungRuleEdge
              << joinConditions(rung, QStringLiteral("Input  -> "), QStringLiteral("  "))
              << joinActions(rung, QStringLiteral("Output -> "), QStringLiteral(" & ")) << RungEndRule
              << BlankLine << BlankLine;
    }
    return lines;
}

} // namespace logicio
