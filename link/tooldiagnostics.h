#pragma once
// The tool data the controller DSP reports while the tool runs, from DataBuffer(0..5): offset voltage
// (hundredths of a volt), the transducer's maximum torque capability (tenths of lb-in) and the speed.

#include <QString>

namespace clink {

class DataBufferArray;

struct ToolDiagnostics {
    int rpm = 0;
    double offsetVolts = 0;
    double maxTorqueLbIn = 0;
};

ToolDiagnostics decodeToolDiagnostics(const DataBufferArray& bytes);
// "Tool RPM = 2500".
QString toolRpmText(const ToolDiagnostics& d);
// "Tool Offset Voltage = 2.5" CR LF "Transducer Max Tq Capability = " and the capability in Nm.
QString toolDiagnosticsText(const ToolDiagnostics& d);

} // namespace clink
