#pragma once
// Texts the NSM commands show: the unit's clock and its software version.

#include <QString>

namespace app {

// From the clock reply's bytes 1..5 (hour, minute, three date fields in display order): the hour byte
// prints without bit 7 and is PM from 13 on: 8F 07 06 0E 09 -> "Time: 15:07 PM  Date: 6/14/09".
QString nsmTimeDateText(int hour, int minute, int date1, int date2, int date3);

// "Nsm Version 2.5"; over Ethernet "Nsm Version : 2.5".
QString nsmVersionText(int major, int minor, bool ethernet);

} // namespace app
