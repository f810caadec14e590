#include "app/nsmtexts.h"

#include "base/numbertext.h"

#include <array>

namespace app {

namespace {
constexpr int HourMask = 127;
constexpr int PmHour = 13;
constexpr int TwoDigits = 10;
// Items of the settings report, in report order.
constexpr std::array<size_t, 7> SettingsReportItems{3, 5, 0, 4, 2, 7, 6};

QString twoDigitSeparator(int value, char separator) {
    return value < TwoDigits ? QString(QChar(separator)) + u'0' : QString(QChar(separator));
}
} // namespace

QString nsmTimeDateText(int hour, int minute, int date1, int date2, int date3) {
    return QStringLiteral("Time: ") + QString::number(hour & HourMask) + twoDigitSeparator(minute, ':') +
           QString::number(minute) + (hour >= PmHour ? QStringLiteral(" PM") : QStringLiteral(" AM")) +
           QStringLiteral("  Date: ") + QString::number(date1) + u'/' + QString::number(date2) +
           twoDigitSeparator(date3, '/') + QString::number(date3);
}

QStringList takeNsmSettingsLines(clink::NsmSettingsRecord& settings) {
    QStringList lines;
    for (size_t item : SettingsReportItems) {
        QString& text = settings.items[item].text;
        lines << base::fixed40(text);
        text = base::fixed40({});
    }
    return lines;
}

} // namespace app
