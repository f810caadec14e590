#pragma once
// Text-file lines: read with CR LF, CR or LF as terminator; written with CR LF in Windows-1252.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace base {

// Splits file bytes into lines. CR LF, a lone CR and a lone LF each end a line; a final line without a
// terminator is kept; an empty file has no lines.
QStringList splitLines(const QByteArray& bytes);

// Joins lines as the program's text files hold them: each line followed by CR LF, Windows-1252 bytes.
QByteArray joinLinesCrLf(const QStringList& lines);

// Reads a whole text file into lines. Returns false (leaves lines untouched and fills error) when it cannot
// be opened or read.
bool readTextLines(const QString& path, QStringList& lines, QString* error = nullptr);

// Writes lines to path atomically (the old file stays whole until the new one is complete).
// On failure returns false and fills error.
bool writeTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Writes bytes to path atomically.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Adds bytes at the end of a file (created when missing) atomically: the file is read and written anew
// whole, so a write that fails leaves it as it was.
bool appendFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace base
