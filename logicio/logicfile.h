#pragma once
// The logic file (*.Lio, and *.Bio for the batch editor): 20 records of 1376 bytes, rung 1 first, no
// header (27520 bytes). A *.Bio file has the batch table beside it in a companion file ("Line1.Bio" ->
// "Line1B.Aio").
//
// LogicFileRecord, packed, little-endian:
//   offset size  field
//        0   44  In1..In4, Op1..Op3, Out1..Out4: 32-bit signed integers
//       44  160  In1Text..In4Text: 40 characters each
//      204   12  Op1Text..Op3Text: 4 characters each ("AND ", "OR  ")
//      216  160  Out1Text..Out4Text: 40 characters each
//      376  500  InputSummary
//      876  500  OutputSummary
// Texts are Windows-1252, left-aligned, padded with blanks and cut at their width; reading removes the
// blanks around them (blanks only).

#include "logicio/batchtable.h"
#include "logicio/logicrung.h"

#include <QByteArray>
#include <QString>

namespace logicio {

struct LogicFileRecord {
    static constexpr int CodeBytes = 4;
    static constexpr int Codes = ConditionSlots + OperatorSlots + ActionSlots;
    static constexpr int SlotTextWidth = 40;
    static constexpr int OperatorTextWidth = 4;
    static constexpr int SummaryWidth = 500;
    static constexpr int InTextOffset = Codes * CodeBytes;                                 // 44
    static constexpr int OpTextOffset = InTextOffset + ConditionSlots * SlotTextWidth;     // 204
    static constexpr int OutTextOffset = OpTextOffset + OperatorSlots * OperatorTextWidth; // 216
    static constexpr int InputSummaryOffset = OutTextOffset + ActionSlots * SlotTextWidth; // 376
    static constexpr int OutputSummaryOffset = InputSummaryOffset + SummaryWidth;          // 876
    static constexpr int Size = OutputSummaryOffset + SummaryWidth;                        // 1376

    // The record of a rung (SwitchToTwo, SwitchToBatchRecord).
    static QByteArray encode(const LogicRung& rung);
    // The rung of a record (SwitchFromTwo, SwitchFromBatchRecord); bytes missing at the end read as blanks
    // and zeros.
    static LogicRung decode(const QByteArray& record);
};

inline constexpr int LogicFileSize = LogicRungs::Count * LogicFileRecord::Size; // 27520

QByteArray encodeLogicFile(const LogicRungs& rungs);
// The rungs of a logic file, into rungs; false (rungs untouched) when the file is shorter than 20 records.
// Bytes after the 20th record are ignored.
bool decodeLogicFile(const QByteArray& bytes, LogicRungs& rungs);

// The name of the batch table file beside a logic file: a ".xxx" extension replaced by "B.Aio", else
// "B.Aio" appended ("Line1.Bio" -> "Line1B.Aio", "Line4" -> "Line4B.Aio").
QString batchCompanionName(const QString& logicPath);
// The companion file that exists beside a logic file, its name compared without regard to case
// ("LINE1B.AIO" for "line1.bio"); empty when there is none.
QString findBatchCompanion(const QString& logicPath);

// The messages of the file commands.
inline const QString FileMissingText = QStringLiteral("This file does not exist");
inline const QString BatchFileMissingText = QStringLiteral("Batch Counting File does not exist");
inline const QString FileOpenedText = QStringLiteral("File Open Successful");
inline const QString OpenCaption = QStringLiteral("Open Logic I/O");
inline const QString SaveCaption = QStringLiteral("Save Logic I/O");
inline const QString OverwriteText = QStringLiteral("This file already exists. - Overwrite File ?");
inline const QString OverwriteCaption = QStringLiteral("File Exists Warning");
// "Unable to write file" and the file's name, then the system's reason on a line of its own.
QString unableToWriteText(const QString& path, const QString& reason);
// "Invalid OR Corrupt File" and the file's name on a second line.
QString corruptFileText(const QString& path);

// Writes a logic file whole (the old file stays until the new one is complete), and with a batch table its
// companion file (the one there, else batchCompanionName) together with it: both new, or on any failure
// both as they were. On failure returns false with the message to show ("Unable to write file <name>" and
// the reason, caption "File Error"), naming the file that failed.
bool writeLogicFile(const QString& path, const LogicRungs& rungs, QString* error = nullptr,
                    const BatchTable* batch = nullptr);

enum class LogicFileRead { Ok, Missing, Corrupt };
// Reads a logic file into rungs; on Missing or Corrupt (unreadable or shorter than 20 records) rungs
// stay as they were.
LogicFileRead readLogicFile(const QString& path, LogicRungs& rungs);
// The batch table of a companion file; false when it cannot be read.
bool readBatchFile(const QString& path, BatchTable& table);

} // namespace logicio
