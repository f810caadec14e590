#pragma once
// The external transducer's parameter report, from its EEPROM locations 0..52 as read into the receive
// buffer. Two-byte values are stored low byte first and print as 0..65535.

#include "link/databuffer.h"

#include <QString>
#include <QStringList>

namespace app {

// Locations the parameter view reads (0..TransducerReportLast).
inline constexpr int TransducerReportLast = 52;
// The calibration value the Cal Value command writes: high byte first, then the low byte.
inline constexpr int TransducerCalLow = 45;
inline constexpr int TransducerCalHigh = 46;

// The 18 report lines.
QStringList makeTransducerReport(const QString& time, const QString& date, const clink::DataBufferArray& D);

} // namespace app
