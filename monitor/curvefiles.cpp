#include "monitor/curvefiles.h"

#include "base/textlines.h"
#include "base/vbrules.h"

namespace monitor {

namespace {
// Where the collector writes the curve number and the zero line.
constexpr int CurveNumberIndex = 4;
// Header line 5 (0-based 4) names the curve collected.
constexpr int CurveNumberLine = 4;
// The zero line is written the way a number is printed: with a blank on either side.
const QString ZeroLine = QStringLiteral(" 0 ");
const QChar Quote = u'"';
} // namespace

QStringList collectedCurveLines(int index, int curve, int word1, int word2) {
    if (index == CurveNumberIndex)
        return {QString::number(curve), ZeroLine};
    return {QString::number(word1), QString::number(word2)};
}

std::optional<int> curveFileNumber(const QString& path) {
    QStringList lines;
    if (!base::readTextLines(path, lines) || lines.size() < CurveHeaderWords)
        return std::nullopt;
    return int(base::vbVal(lines[CurveNumberLine]));
}

std::optional<QStringList> readCurveCollection(const QString& path, QString* error) {
    QStringList lines;
    if (!base::readTextLines(path, lines, error))
        return std::nullopt;
    QStringList entries;
    for (QString entry : lines) {
        entry = entry.trimmed();
        if (entry.size() >= 2 && entry.startsWith(Quote) && entry.endsWith(Quote))
            entry = entry.mid(1, entry.size() - 2);
        entries << (entry.isEmpty() ? NoCurve : entry);
    }
    return entries;
}

bool writeCurveCollection(const QString& path, const QStringList& slotPaths, QString* error) {
    return base::writeTextLines(path, slotPaths, error);
}

} // namespace monitor
