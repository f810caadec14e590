#pragma once
// The rundown monitor's four lines. A rundown report (13EF0106 [40 status T A E]) carries three signed
// words, low byte first: the tool's final torque T and the external transducer's final torque E in
// thousandths of the current target torque, and the tool's final angle A in whole degrees. With
// k = Int(10 x the status target), a torque word x shows as CInt(x k / 1000) / 10, halves to the even
// neighbour, computed without the 16-bit limit.

#include <QString>
#include <QStringList>

#include <array>

namespace monitor {

// The three words of a rundown report's data bytes 2..7.
struct RundownWords {
    int torque = 0;
    int angle = 0;
    int externalTorque = 0;
};

// A signed 16-bit word from its low and high bytes.
int signedWord(int low, int high);
// T, A and E from data bytes 0..7 of a rundown report.
RundownWords rundownWords(const std::array<int, 8>& data);

// k = Int(10 x target).
int torqueScale(double statusTarget);
// The shown torque of a word at scale k.
double shownTorque(int word, int scale);

// The status read's current-target line (40 characters), then "Tool Final Torque: ", "Tool Final Angle: "
// and "External Transducer Final Torque: " with their values.
QStringList rundownLines(const QString& targetLine, const RundownWords& words, double statusTarget);

} // namespace monitor
