#include "monitor/curvefiles.h"

#include "app/curvefile.h"
#include "base/linereader.h"
#include "base/numbertext.h"
#include "base/textlines.h"

#include <QFile>

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
    QFile file(path);
    if (!base::openBoundedFile(file, app::MaxCurveFileBytes))
        return std::nullopt;
    base::LineReader reader(file);
    std::optional<QString> line;
    for (int i = 0; i <= CurveNumberLine; ++i)
        line = reader.next();
    for (int i = CurveNumberLine + 1; line && i < CurveHeaderWords; ++i) {
        if (!reader.skip())
            return std::nullopt;
    }
    if (!line)
        return std::nullopt;
    return base::wholeInt(base::textValue(*line));
}

std::optional<CurveCollection> readCurveCollection(const QString& path, QString* error) {
    QFile file(path);
    bool tooLarge = false;
    if (!base::openBoundedFile(file, MaxCollectionFileBytes, error, &tooLarge)) {
        if (tooLarge && error)
            *error = InvalidCollectionText.arg(path);
        return std::nullopt;
    }
    base::LineReader reader(file);
    CurveCollection collection;
    while (collection.entries.size() < MaxCurvePlots) {
        std::optional<QString> line = reader.next();
        if (!line)
            break;
        QString entry = line->trimmed();
        if (entry.size() >= 2 && entry.startsWith(Quote) && entry.endsWith(Quote))
            entry = entry.mid(1, entry.size() - 2);
        collection.entries << (entry.isEmpty() ? NoCurve : entry);
    }
    collection.total = collection.entries.size();
    while (reader.skip())
        ++collection.total;
    if (reader.failed()) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return collection;
}

bool writeCurveCollection(const QString& path, const QStringList& slotPaths, QString* error) {
    return base::writeTextLines(path, slotPaths, error);
}

} // namespace monitor
