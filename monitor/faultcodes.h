#pragma once
// The tool's fault reports (13EF0106, data byte 0 the group) as the fault monitor lists them: the group's
// heading, then one line for each set flag of data bytes 2 and 3 that the group examines, byte 2 bits 0 to
// 7 first, then byte 3. A flag without a text of its own adds a line holding one blank; flags the group
// does not examine add nothing.

#include <QStringList>

namespace monitor {

namespace faults {
inline constexpr int AutoReset = 0x10;
inline constexpr int CycleReset = 0x11;
inline constexpr int ExternalReset = 0x12;
inline constexpr int Warnings = 0x15;
} // namespace faults

// The line a set flag without a text of its own adds.
inline const QString BlankFaultLine = QStringLiteral(" ");

// True for the four group codes.
bool isFaultGroup(int code);
// The lines of one report of a group (nothing for another code).
QStringList faultGroupLines(int group, int byte2, int byte3);

} // namespace monitor
