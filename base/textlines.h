#pragma once
// Text-file lines: read with CR LF, CR or LF as terminator; written with CR LF in Windows-1252.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

class QFile;

namespace base {

// Why a folder, a FIFO or a device is not read or written as a file.
inline const QString NotARegularFileText = QStringLiteral("Not a regular file");

// Opens file in mode unless its name stands for something other than a regular file: opening a FIFO could
// wait for the other end, and a device could never end. A missing file is left to the mode (created for
// writing). False with the reason in error.
bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error = nullptr);

// Splits file bytes into lines. CR LF, a lone CR and a lone LF each end a line; a final line without a
// terminator is kept; an empty file has no lines.
QStringList splitLines(const QByteArray& bytes);

// Joins lines as the program's text files hold them: each line followed by CR LF, Windows-1252 bytes.
QByteArray joinLinesCrLf(const QStringList& lines);

// Reads a whole text file into lines. Returns false (leaves lines untouched and fills error) when it cannot
// be opened or read, or is not a regular file.
bool readTextLines(const QString& path, QStringList& lines, QString* error = nullptr);

// Writes lines to path atomically (the old file stays whole until the new one is complete).
// On failure returns false and fills error.
bool writeTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Writes bytes to path atomically.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Adds lines, each followed by CR LF, at the end of a text file (created when missing), in place: the file
// is opened for appending, the new lines are written whole in one write and flushed, and the bytes before
// them are never read or written again, so the cost does not grow with the file. A write that fails is cut
// back, leaving the file as it was. A file whose last line has no end (a write cut short) gets CR LF
// first, so the new lines start on a line of their own.
bool appendTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace base
