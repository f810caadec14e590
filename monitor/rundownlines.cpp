#include "monitor/rundownlines.h"

#include "base/numbertext.h"

#include <cstdint>

namespace monitor {

namespace {
constexpr int ByteShift = 8;
constexpr double ScaleFactor = 10;
constexpr double Thousandths = 1000;
constexpr double Tenths = 10;
} // namespace

int signedWord(int low, int high) {
    return int16_t(uint16_t(((high & 0xFF) << ByteShift) | (low & 0xFF)));
}

RundownWords rundownWords(const std::array<int, 8>& data) {
    return {signedWord(data[2], data[3]), signedWord(data[4], data[5]), signedWord(data[6], data[7])};
}

int torqueScale(double statusTarget) {
    return int(base::Int(ScaleFactor * statusTarget));
}

double shownTorque(int word, int scale) {
    const int64_t product = int64_t(word) * scale;
    return base::roundHalfEven(double(product) / Thousandths) / Tenths;
}

QStringList rundownLines(const QString& targetLine, const RundownWords& words, double statusTarget) {
    const int k = torqueScale(statusTarget);
    return {targetLine,
            QStringLiteral("Tool Final Torque: ") + base::numberText(shownTorque(words.torque, k)),
            QStringLiteral("Tool Final Angle: ") + QString::number(words.angle),
            QStringLiteral("External Transducer Final Torque: ") +
                base::numberText(shownTorque(words.externalTorque, k))};
}

} // namespace monitor
