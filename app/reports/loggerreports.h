#pragma once
// The data logger's rundown files (1..20) and the two reports printed from them. The logger is read one
// location at a time; the reports work on what the reads left in the receive buffer:
//   D(0..9)     the file's directory entry: 0 empty flag (0 = empty), 1 hour, 2 minute, 3-4 date
//               fields, 5 type (1 = transducer readings, else controller rundowns);
//   D(10..)     the file's records: rundowns of 7 bytes in the controller's rundown-log layout, or
//               transducer readings of 2 bytes (high byte first);
//   D(5000..)   the Pset block: 12 entries per file (target, high, low, angle high, angle low as
//               high/low pairs in tenths, one unused entry, the units code).

#include "app/psettable.h"
#include "link/databuffer.h"

#include <QString>
#include <QStringList>

namespace app {

inline constexpr int LoggerFiles = 20;
// Directory: ten locations per file from this address.
inline constexpr int LoggerDirectoryAddress = 14858;
inline constexpr int LoggerDirectoryEntries = 10;
// Pset block: route reads of five locations from the first to the last address.
inline constexpr int LoggerPsetBlockFirst = 15168;
inline constexpr int LoggerPsetBlockLast = 15408;
inline constexpr int LoggerRouteEntries = 5;
inline constexpr int LoggerPsetBlockIndex = 5000;
inline constexpr int LoggerPsetEntries = 12;
// Records of file f start at (f - 1) x LoggerFileSpan + LoggerRecordsOffset; they land at D(10).
inline constexpr int LoggerFileSpan = 700;
inline constexpr int LoggerRecordsOffset = 158;
inline constexpr int LoggerRecordsIndex = 10;
inline constexpr int LoggerRundownBytes = 7;
inline constexpr int LoggerReadingBytes = 2;
// Directory entry positions.
inline constexpr int LoggerEmptyFlag = 0;
inline constexpr int LoggerFileType = 5;
inline constexpr int LoggerTransducerType = 1;
// Cell width of the route report's rundown lines.
inline constexpr int LoggerCellWidth = 16;

// First logger address of file f's directory entry and of its records.
inline int loggerDirectoryAddress(int f) {
    return LoggerDirectoryAddress + LoggerDirectoryEntries * (f - 1);
}
inline int loggerRecordsAddress(int f) {
    return (f - 1) * LoggerFileSpan + LoggerRecordsOffset;
}
// Where the route read of logger address a lands in the receive buffer: each read at its own place, so a
// failed read shifts nothing.
inline int loggerPsetBlockSlot(int address) {
    return LoggerPsetBlockIndex + (address - LoggerPsetBlockFirst);
}

// "Time: 9:05 AM" / "Date: 3/14" from the directory entry in D(1..4).
QString loggerTimeLine(const clink::DataBufferArray& D);
QString loggerDateLine(const clink::DataBufferArray& D);

// The Pset data stored with file f: torques in tenths of the units as the logger keeps them.
struct LoggerPsetData {
    int torqueTarget = 0;
    int torqueHigh = 0;
    int torqueLow = 0;
    int angleHigh = 0;
    int angleLow = 0;
    int units = 0;
};
LoggerPsetData loggerPsetData(const clink::DataBufferArray& D, int f);

// Keeps file f's Pset data in record f of the Pset table: units, torque target, high and low (tenths, as
// the logger stores them), angle high and low, each the decimal text of its whole number; no other field is
// touched. Files without a record (11 and above) change nothing and give false.
bool storeLoggerPsetData(const LoggerPsetData& p, int f, PsetTable& table);

// "Last 100 Controller Rundowns Stored" report of file f with n rundowns, from the directory entry, the
// Pset block and the rundowns in D.
QStringList makeLoggerRouteReport(const clink::DataBufferArray& D, int f, int n);

// "Transducer Rundowns Stored" report of file f with n readings, printed in the units option u (1..5).
QStringList makeLoggerTransducerReport(const clink::DataBufferArray& D, int f, int n, int u);

} // namespace app
