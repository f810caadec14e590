#pragma once
// A ladder program as a ladder file: one PlcNodeRecord per node after the root, in creation order (a
// parent always before its children), the presets riding in the records of the elements that use them.
//
// Value on writing: image 48..55 carries counter (image - 47)'s preset, under either list; image 96, 98 or
// 100 with a text beginning "Timer 1/2/3 Start" carries that timer's preset; everything else "0".
// Value on reading: counter k is taken only from image 47 + k with a text beginning "Counter k =", timer n
// only from a timer start with its text; values outside a preset's range are brought inside it.

#include "ladder/ladderprogram.h"
#include "ladder/plcnoderecord.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QIODevice;

namespace base {
class Dialogs;
}

namespace ladder {

// The records of a program, the root left out. The settings collection writes the same records.
std::vector<PlcNodeRecord> plcRecords(const LadderProgram& program);
QByteArray plcFileBytes(const LadderProgram& program);
// Writes the file atomically: the old file stays whole until the new one is complete.
bool writePlcFile(const QString& path, const LadderProgram& program, QString* error = nullptr);

struct PlcFileLoad {
    std::optional<LadderProgram> program; // the whole program, or nothing when the file is damaged
    int damagedRecord =
        0; // 1-based: the first record that names no parent, hangs under an element or has a bad image
    bool unreadable = false; // a read failed part-way
};
// Sees each record of a ladder file once it has been taken into the program.
using PlcRecordSink = std::function<void(const PlcNodeRecord&)>;
// Builds a program from a ladder file, reading and checking one record at a time: whole records only (a
// shorter tail is ignored), each node added as the last child of the first node whose key equals its padded
// Relative field. A key already taken stays as it is (the editor's keys repeat once cut to the key field,
// and the file is saved again byte for byte), unless a later record names it as its parent: then it becomes
// the trimmed key followed by a counter kept for the whole load, stored padded and free of every key in the
// file. Either way the program saved and opened again is the same tree. The parent must not be an element (no
// ladder is deeper than root, rung, list and element) and the image a code 0..255. Reading stops at the first
// damaged record, so a file that is no ladder file, or one nested deeper than a ladder, is refused at its
// first such record, whatever its length.
PlcFileLoad readPlcProgram(QIODevice& file, const PlcRecordSink& taken = {});
PlcFileLoad readPlcProgram(const QByteArray& file);

// Opens and reads a ladder file as readPlcProgram does. A file that is missing or cannot be read shows
// "File does not exists", a damaged one "File is damaged (record n)" (both caption "File Error",
// critical); either gives nothing.
std::optional<LadderProgram> loadPlcFile(const QString& path, base::Dialogs& dialogs,
                                         const PlcRecordSink& taken = {});

} // namespace ladder
