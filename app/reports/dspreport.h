#pragma once
// The labelled DSP parameter report of the first 128 bytes of the DSP's parameter memory. The settings
// collection writes it to its DSP file in the file form: the same lines less the "E106 : " line.

#include "app/reports/reportform.h"

#include <QString>
#include <QStringList>

namespace clink {
class DataBufferArray;
}

namespace app {

// Bytes the report reads (64 two-byte locations at 0, 2, ..., 126) and the lines it has.
inline constexpr int DspReportBytes = 128;
inline constexpr int DspReportLines = 66;

// D(k) + 256 x D(k + 1), 0..65535 (element k = byte k).
int dspWord(const clink::DataBufferArray& D, int k);

// The 66-line report of bytes 0..127 (element k = byte k), with the time and date of its header; in the file
// form the 65 lines without "E106 : ".
QStringList makeDspParameterReport(const QString& time, const QString& date, const clink::DataBufferArray& D,
                                   ReportForm form = ReportForm::Menu);

} // namespace app
