#pragma once
// Texts the NSM commands show: the unit's clock and its settings.

#include "link/nsmsettings.h"

#include <QString>
#include <QStringList>

namespace app {

// From the clock reply's bytes 1..5 (hour, minute, three date fields in display order): the hour byte
// prints without bit 7 and is PM from 13 on: 8F 07 06 0E 09 -> "Time: 15:07 PM  Date: 6/14/09".
QString nsmTimeDateText(int hour, int minute, int date1, int date2, int date3);

// The settings report: the 40-character texts of items 3, 5, 0, 4, 2, 7 and 6 (spindles, system type,
// reverse torque check, button latch timer, reverse timer, collect data, buttons); each printed text is
// blanked in the record. The number of retries (item 1) is not printed and keeps its text.
QStringList takeNsmSettingsLines(clink::NsmSettingsRecord& settings);

} // namespace app
