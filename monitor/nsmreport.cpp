#include "monitor/nsmreport.h"

#include "base/numbertext.h"

namespace monitor {

namespace {
constexpr int NumberLength = 2;
constexpr int TwoDigitSpindle = 10;
const QString RundownNumberText = QStringLiteral("Rundown Number :");

QString spindleKey(int spindle) {
    return spindle < TwoDigitSpindle ? QStringLiteral("SPINDLE 0%1:").arg(spindle)
                                     : QStringLiteral("SPINDLE %1:").arg(spindle);
}
} // namespace

QStringList NsmReportParser::reportLines(const QString& report) {
    const qsizetype end = report.indexOf(EndMark, 0, Qt::CaseInsensitive);
    const qsizetype numberAt = std::max<qsizetype>(0, end - NumberLength);
    const QString number = report.mid(numberAt, std::max<qsizetype>(0, end) - numberAt);
    QStringList lines{RundownNumberText + base::numberText(base::textValue(number))};
    for (int k = 1; k <= Spindles; ++k) {
        const qsizetype at = report.indexOf(spindleKey(k), 0, Qt::CaseInsensitive);
        if (at >= 0)
            lines.append(report.mid(at, SpindleTextLength));
    }
    return lines;
}

QList<QStringList> NsmReportParser::feed(const QString& piece) {
    buffer_ += piece;
    if (!buffer_.contains(u'@'))
        buffer_.clear();
    QList<QStringList> reports;
    for (;;) {
        const qsizetype end = buffer_.indexOf(EndMark, 0, Qt::CaseInsensitive);
        if (end < 0)
            break;
        const qsizetype length = end + EndMark.size();
        reports.append(reportLines(buffer_.left(length)));
        buffer_.remove(0, length);
    }
    if (buffer_.size() > MaxPendingText)
        buffer_.clear();
    return reports;
}

} // namespace monitor
