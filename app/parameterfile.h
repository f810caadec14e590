#pragma once
// Parameter files: lists of EEPROM byte writes for the tool or the external transducer, each stored line
// scrambled by the program's line scrambler. Line 1 names the file type, line 2 is free text (never
// decoded), every later non-empty line is "address,data" split at its last comma. Empty stored lines are
// skipped but still count as progress steps.
//
// A plain text source (*.txt) becomes a parameter file (*.prm) by scrambling every line.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QIODevice;

namespace clink {
struct LinkState;
}

namespace app {

class LineScrambler;

enum class ParameterFileKind { Tool, Transducer };

// The decoded first line, compared in capitals.
QString parameterFileTypeLine(ParameterFileKind kind);

inline constexpr int ParameterLargestAddress = 1023;
inline constexpr int ParameterLargestData = 255;
// A byte is written at most this many times before a mismatching read-back ends the transfer.
inline constexpr int ParameterWriteTries = 6;

inline const QString FileDataErrorCaption = QStringLiteral("File Data Error");

struct ParameterWrite {
    int address = 0;
    int data = 0;
    bool operator==(const ParameterWrite&) const = default;
};

// A write and the stored line it came from: 1 is the line after the free-text line.
struct ParameterLine {
    qsizetype line = 0;
    ParameterWrite write;
    bool operator==(const ParameterLine&) const = default;
};

// The outcome of checking a whole file before anything is sent.
struct ParameterFileCheck {
    enum class Result { Ok, WrongType, BadData, Unreadable };
    Result result = Result::Ok;
    QString errorText; // BadData: the box text (caption FileDataErrorCaption)
    // The writes of the non-empty stored lines after line 2, in order; empty stored lines have none, so a
    // file of empty lines costs nothing here.
    std::vector<ParameterLine> writes;
    // The stored lines after line 2, empty ones included.
    qsizetype lines = 0;
    // Lines that passed (the non-empty ones).
    int validLines = 0;
};

// Checks a parameter file of the given kind as it reads it, one line at a time. Nothing is accepted unless
// every line passes: an address above 1023 or below 0, a data value above 255 or below 0, or a line without
// a comma refuses the whole file, and reading stops there. A read that fails is Unreadable.
ParameterFileCheck checkParameterFile(QIODevice& file, ParameterFileKind kind);

// Writes and verifies every line: write, read back, compare; a byte whose read-back differs is written
// again, at most ParameterWriteTries times. progress gets the number of stored lines done (empty ones
// included) after each line.
struct ParameterEeprom {
    std::function<bool(int address, int value)> write;
    std::function<bool(int address)> read; // appends the byte at DataBuffer(DataCount)
};
enum class ParameterTransfer { Done, WriteFailed, ReadFailed, Mismatch };
ParameterTransfer transferParameterLines(const ParameterFileCheck& file, const ParameterEeprom& eeprom,
                                         clink::LinkState& state, const std::function<void(int)>& progress);

// --- the plain source and its parameter file ---

// True when the path ends in ".txt" in any letter case.
bool isParameterSourceName(const QString& path);
// The path without its last three characters, followed by "prm".
QString parameterFileNameFor(const QString& sourcePath);

struct EncryptResult {
    bool ok = false;
    QString errorText; // why the file could not be read or written
    QString output;    // the parameter file written
};
// Scrambles every line of the source into its parameter file (replaced whole when it exists). The source is
// read once and held as its bytes; the scrambled lines go out in blocks, a long line in pieces, so a line
// of any length costs no more memory than its own bytes.
// started gets the number of source lines before the first line is written; progress the lines written, in
// at most a thousand steps, the last one the whole count.
EncryptResult encryptParameterSource(const QString& sourcePath, const LineScrambler& scrambler,
                                     const std::function<void(int lines)>& started,
                                     const std::function<void(int written)>& progress);

} // namespace app
