#include "service/nsmclock.h"

namespace service {

NsmClock NsmClock::fromReply(int hourByte, int minute, int month, int day, int year) {
    NsmClock clock;
    clock.hour = hourByte & HourMask;
    clock.pm = hourByte > LastAmHourByte;
    clock.minute = minute;
    clock.month = month;
    clock.day = day;
    clock.year = year;
    return clock;
}

} // namespace service
