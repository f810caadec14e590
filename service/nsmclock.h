#pragma once
// The NSM unit's clock as its settings window shows it: the hour 1..12 with AM or PM, the minute and the
// date with a two-digit year. The unit's answers carry the hour byte: the hour in its low seven bits and 128
// for PM.

#include <array>

namespace service {

struct NsmClock {
    static constexpr int PmBit = 0x80;
    static constexpr int HourMask = 0x7F;
    // The last hour byte that reads as AM (12 without the PM bit is 12 AM).
    static constexpr int LastAmHourByte = 12;
    // Hour byte, minute, month, day, year: the order of the unit's answers.
    using Fields = std::array<int, 5>;

    int hour = 1; // 1..12
    int minute = 0;
    int month = 1;
    int day = 1;
    int year = 0; // two digits, 0..99
    bool pm = false;

    // The hour, with 128 added for PM.
    int hourByte() const { return pm ? hour | PmBit : hour; }
    // From a reply's bytes: the hour is the byte's low seven bits, PM when the byte is above 12.
    static NsmClock fromReply(int hourByte, int minute, int month, int day, int year);
    static NsmClock fromFields(const Fields& f) { return fromReply(f[0], f[1], f[2], f[3], f[4]); }
    Fields fields() const { return {hourByte(), minute, month, day, year}; }
    bool operator==(const NsmClock&) const = default;
};

} // namespace service
