#pragma once
// The controller's rundown log of one Pset and the report printed from it. The log is 700 bytes, read in
// 140 blocks of five; it holds the last 100 rundowns as 7-byte records:
//   0 result byte (result code = low five bits), 1-2 torque high/low, 3-4 angle high/low,
//   5-6 second torque ("TORQUE X") low/high -- the other byte order from the torque.
// The report is also a file format: the settings collection writes it to "Rundowns.txt" and the
// statistics window reads the torque from column 25.

#include "link/databuffer.h"
#include "link/rundownlog.h"

#include <QString>
#include <QStringList>

namespace app {

using clink::RundownBlockBytes;
using clink::RundownLogBlocks;
inline constexpr int RundownLogBytes = RundownLogBlocks * RundownBlockBytes;
inline constexpr int RundownRecordBytes = 7;
inline constexpr int RundownRecords = RundownLogBytes / RundownRecordBytes;
// Width of one report cell; the torque starts at character RundownTorqueColumn (1-based).
inline constexpr int RundownCellWidth = 12;
inline constexpr int RundownTorqueColumn = 2 * RundownCellWidth + 1;

// The text of a rundown's result code (result byte And 31): "ACCEPT", "TH", "TL", "AH", "AL", "TH/AH",
// "TH/AL", "TL/AH", "TL/AL"; any other code prints as "CODE " and the number.
QString rundownResultText(int resultByte);

struct RundownReportInput {
    QString time;            // current time, as the system shows it
    QString date;            // current date, short form
    QString psetText;        // the Pset number as the value dialog returned it
    QStringList psetLines;   // the Pset's fifteen 40-character report texts, in report order
    double torqueTarget = 0; // the Pset's torque target in its units
};

// The rundown report of a log held in log[0..699]: the header, the Pset texts, the column line and one
// line per rundown whose torque is not 0 (record numbers kept, so gaps show).
QStringList makeRundownReport(const RundownReportInput& in, const clink::DataBufferArray& log);

} // namespace app
