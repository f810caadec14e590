#pragma once
// Fixed memory images of the report tests: a Pset's rundown log, and data-logger files as the logger
// holds them and as the reads leave them in the receive buffer.

#include "app/reports/loggerreports.h"
#include "link/linkstate.h"
#include "sim/controllermodel.h"

#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace logtest {

// Compares report lines with a golden file (one line per LF-ended line, trailing blanks kept).
void expectGolden(const QStringList& actual, const QString& name);

inline void putBytes(clink::DataBufferArray& D, int at, std::initializer_list<int> bytes) {
    for (int b : bytes)
        D.put(at++, b);
}

// Record r (1-based) of a rundown log starting at first: result, torque hi/lo, angle hi/lo, torque X lo/hi.
inline void putRundown(clink::DataBufferArray& D, int first, int r, std::initializer_list<int> bytes) {
    putBytes(D, first + 7 * (r - 1), bytes);
}

// A rundown log with gaps, every result text, an unknown code and the largest values.
clink::DataBufferArray rundownLog();
// The same log as the controller holds it, and whether a receive buffer holds it whole.
sim::ControllerModel::RundownLog rundownLogBytes();
bool holdsRundownLog(const clink::DataBufferArray& D);

// The logger route file of the golden report: file 3, four rundowns.
inline constexpr int RouteFile = 3;
inline constexpr int RouteRundowns = 4;
clink::DataBufferArray routeBuffer();

// The logger transducer file of the golden report: file 2, four readings, printed in Nm.
inline constexpr int ReadingsFile = 2;
inline constexpr int Readings = 4;
clink::DataBufferArray readingsBuffer();

// The logger memory (64 K locations) from which the reads give a buffer: directory entry of the file,
// the Pset block and the file's records.
std::vector<uint8_t> loggerImage(const clink::DataBufferArray& D, int file, int records, int recordBytes);

} // namespace logtest
