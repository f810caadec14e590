#include "app/reports/systemreports.h"

#include "base/numbertext.h"

#include <array>

namespace app {

namespace {
// Text indexes of a Pset report record in report order.
constexpr std::array<int, 15> ReportOrder = {14, 15, 0, 1, 2, 5, 4, 6, 7, 8, 9, 10, 11, 12, 13};
} // namespace

QStringList systemStatusReport(const clink::SystemStatusRecord& status) {
    QStringList lines{SystemInformationLine};
    for (const QString& line : status.SystemStatusLines)
        lines << base::fixed40(line);
    return lines;
}

QStringList psetReportTexts(const clink::PsetReportRecord& record) {
    QStringList texts;
    for (int index : ReportOrder)
        texts << base::fixed40(record.Texts[size_t(index)]);
    return texts;
}

QStringList parameterSetsHeader(const QString& time, const QString& date) {
    return {QStringLiteral("Company   : Brenstal"), QStringLiteral("File Data : Current Parameter Sets"),
            QStringLiteral("Time      : ") + time, QStringLiteral("Date      : ") + date};
}

QStringList parameterSetLines(int pset, const clink::PsetReportRecord& record) {
    QStringList lines{QStringLiteral(" "), QStringLiteral("-------- PARAMETER SET %1 --------").arg(pset),
                      QStringLiteral("Parameter Set #: %1").arg(pset)};
    return lines + psetReportTexts(record);
}

} // namespace app
