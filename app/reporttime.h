#pragma once
// The time and date lines of the report headers, in the system's formats: the time as the system writes
// a time of day (no time zone), the date in its short form.

#include <QDateTime>
#include <QString>

namespace app {

QString reportTimeText(const QDateTime& now);
QString reportDateText(const QDateTime& now);

} // namespace app
