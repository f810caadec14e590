#pragma once
// The result of the last rundown as the manual calibration reads it: eleven values and their texts
// (each text a fixed 40-character field).

#include <QString>

#include <array>

namespace clink {

class DataBufferArray;

struct RundownResultRecord {
    static constexpr int Fields = 11;
    // 0 final torque, 1 target, 2 torque high limit, 3 torque low limit, 4 final angle, 5 angle high limit,
    // 6 angle low limit, 7 result code, 8 torque units code, 9 current Pset, 10 number of Psets.
    std::array<double, Fields> values{};
    // Text 8 names the current Pset and text 9 the units: they sit crosswise to values 8 and 9.
    std::array<QString, Fields> texts{};
};

// Fills the record from the 18 result bytes in DataBuffer(0..17) (words high byte first). A result code
// or units code without a text leaves that text as it was.
void fillRundownResult(RundownResultRecord& result, const DataBufferArray& bytes);

} // namespace clink
