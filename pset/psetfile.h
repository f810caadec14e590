#pragma once
// The project file (*.Pst): exactly eight records of 210 bytes, no header; file record k is Pset k of the
// table. Each record is the eighteen fields back to back, one Windows-1252 byte per character, blank-padded
// (offsets 0, 10, ..., 160 for the seventeen 10-character fields, 170 for the 40-character curve file).
// All eight records are written whatever the project's size.

#include "app/psettable.h"

#include <QByteArray>
#include <QString>

namespace pset {

inline constexpr int PsetFileRecords = 8;
inline constexpr int PsetFileBytes = PsetFileRecords * app::PsetRecord::Bytes;

// The file image of records 1..8.
QByteArray encodePsetFile(const app::PsetTable& table);

// Records 1..8 of table from a file image. What a short image lacks reads as blank (a partial record is
// blank-padded, missing records are cleared); bytes after the eighth record are not read.
void decodePsetFile(const QByteArray& bytes, app::PsetTable& table);

// Writes records 1..8 atomically: the old file stays whole until the new one is complete. False with the
// error's description.
bool savePsetFile(const QString& path, const app::PsetTable& table, QString* error = nullptr);

// Reads a project file into records 1..8 of table; the table is left untouched when the file cannot be
// read, is empty, does not begin with a Pset count, or ends before the Psets its first record counts (1..8)
// are whole. A shorter file that
// holds them reads the rest as blank records. False with the error's description.
bool loadPsetFile(const QString& path, app::PsetTable& table, QString* error = nullptr);

} // namespace pset
