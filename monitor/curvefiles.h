#pragma once
// Curve files (*.dat) as the curve window writes them, and curve collections (*.Acf).
//
// A curve file collected from the controller holds one decimal number per line, CR LF ended:
//   line 1        word 0 of the controller's curve record (time scale: sample i is at i x line 1 / 1000)
//   lines 2-4     words 1-3
//   line 5        the curve number collected (1 tool torque, 2 aux transducer torque, 3 angle)
//   line 6        " 0 "
//   lines 7-10    words 6-9
//   lines 11 on   words 10, 11, ...: the samples, unsigned 16-bit values
// The collector asks for two words at a time (index i = 0, 2, 4, ...), so a file of a requested count N
// (header words included) has 2 x (N / 2 + 1) lines. app::LoadCurveFile reads these files.
//
// A curve collection lists curve-file paths, one per line in plot-slot order, "None" for a slot without a
// curve.

#include <QString>
#include <QStringList>

#include <optional>

namespace monitor {

// The path of a slot that holds no curve file, as the collection files store it.
inline const QString NoCurve = QStringLiteral("None");
// Plot slots of the curve window.
inline constexpr int MaxCurvePlots = 10;
// Header line 5 of an angle curve; its samples are shown as stored, against the angle axis.
inline constexpr int AngleCurveNumber = 3;
// Words of a controller curve record the window may ask for: the ten header words and as many samples as
// a curve file can be read back with.
inline constexpr int CurveHeaderWords = 10;
inline constexpr int MaxCurvePoints = 6010;

// The file dialogs' titles and filters; the program's own file type comes first, so it is the one offered.
inline const QString SaveCurveDataTitle = QStringLiteral("Save Curve Data");
inline const QString LoadCurveDataTitle = QStringLiteral("Load Torque Data Curve");
inline const QString CurveFileFilter = QStringLiteral("Dat Files (*.dat *.DAT);;All Files (*)");
inline const QString SaveCollectionTitle = QStringLiteral("Save Collection Of Curves");
inline const QString LoadCollectionTitle = QStringLiteral("Load Collection Of Curves");
inline const QString CollectionFileFilter =
    QStringLiteral("Collection Files (*.Acf *.ACF *.acf);;All Files (*)");

// The two lines a collected curve file gets for the words at index and index + 1 of the record: at
// index 4 the curve number and " 0 " stand in place of words 4 and 5.
QStringList collectedCurveLines(int index, int curve, int word1, int word2);

// A collection names at most one file per plot slot; a collection file this large is far beyond any list
// of ten paths and is refused unread.
inline constexpr qint64 MaxCollectionFileBytes = 1024 * 1024;
// What a collection file too large to be one is refused with.
inline const QString InvalidCollectionText = QStringLiteral("Not A Valid Curve Collection: %1");

// The curve number in header line 5 of a curve file; nothing when the file cannot be read, is shorter than
// its header or larger than a curve file, or its line 5 is not a number whose whole part an int holds.
// Only the header is read.
std::optional<int> curveFileNumber(const QString& path);

struct CurveCollection {
    // The entries for the plot slots, at most MaxCurvePlots.
    QStringList entries;
    // The entries the file holds, those past the slots included.
    qsizetype total = 0;
};

// A collection file's entries: whole lines (a path may hold a comma), surrounding double quotes removed,
// an empty line read as "None". Only the first MaxCurvePlots lines are kept; the others are counted. Nothing,
// with the reason in error, when the file cannot be read or is larger than MaxCollectionFileBytes
// (InvalidCollectionText).
std::optional<CurveCollection> readCurveCollection(const QString& path, QString* error = nullptr);

// Writes the slots' paths, one per line; the old file stays whole until the new one is complete.
bool writeCurveCollection(const QString& path, const QStringList& slotPaths, QString* error = nullptr);

} // namespace monitor
