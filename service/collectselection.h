#pragma once
// What the settings collection remembers and how it names its files.
//
// "DLOAD.cfg" in the program's folder holds one 14-byte record: six 16-bit little-endian flags, one per
// collector box (-1 selected, 0 not), then a reserved word that is read and written back unchanged. A
// missing file is created empty; a file shorter than the record reads as all zeros.
//
// The base name is what every collector puts in front of its file's ending ("Cell3" + ".PST",
// "Cell3" + "DSPParms.txt"): the chosen file name without its extension, or without the ending of one of
// the collection's own report files, so that choosing an earlier run's report gives its folder.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace service {

// The six collector boxes, in the order the collection runs them.
enum CollectBox : int { PsetsBox, LogicIoBox, DspParmsBox, ToolParmsBox, ToolEpromBox, RundownsBox };
inline constexpr int CollectBoxes = 6;

inline const QString CollectSelectionFile = QStringLiteral("\\DLOAD.cfg");

// What each collector appends to the base name.
inline const QString PsetFileEnding = QStringLiteral(".PST");
inline const QString LogicFileEnding = QStringLiteral(".LIO");
inline const QString LadderFileEnding = QStringLiteral(".PLC");
inline const QString DspFileEnding = QStringLiteral("DSPParms.txt");
inline const QString ToolParmsFileEnding = QStringLiteral("ToolParms.txt");
inline const QString ToolEpromFileEnding = QStringLiteral("ToolEprom.txt");
inline const QString RundownsFileEnding = QStringLiteral("Rundowns.txt");

struct CollectSelection {
    static constexpr int Bytes = 14;
    static constexpr int16_t Selected = -1;

    std::array<int16_t, CollectBoxes> flags{};
    int16_t reserved = 0;

    bool selected(int box) const { return flags[size_t(box)] != 0; }
    bool operator==(const CollectSelection&) const = default;
};

// The record from file bytes (all zeros when they are fewer than the record), and the record's 14 bytes.
CollectSelection decodeCollectSelection(const QByteArray& bytes);
QByteArray encodeCollectSelection(const CollectSelection& selection);

// Reads the record of DLOAD.cfg in the program's folder (its first 14 bytes, nothing after them), creating
// the file empty when it is missing. False with the error when it can be neither read nor created, or is
// not a regular file (the selection is then all zeros).
bool loadCollectSelection(CollectSelection& selection, QString* error = nullptr);
// Writes the record into DLOAD.cfg (creating the file when missing): the file is replaced whole by the 14
// bytes and whatever followed the old record, copied without being read as anything. False with the
// error; the old file is then as it was.
bool saveCollectSelection(const CollectSelection& selection, QString* error = nullptr);

// The base name of a chosen file name (see above); a name without a three-character extension is used as
// it came, blanks included.
QString collectBaseName(const QString& name);

} // namespace service
