#include "app/reporttime.h"

#include <QLocale>
#include <QRegularExpression>

namespace app {

QString reportTimeText(const QDateTime& now) {
    const QLocale locale = QLocale::system();
    // The long time format, less its time-zone field: a time of day with seconds.
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return locale.toString(now.time(), format.trimmed());
}

QString reportDateText(const QDateTime& now) {
    return QLocale::system().toString(now.date(), QLocale::ShortFormat);
}

} // namespace app
