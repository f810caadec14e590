#pragma once
// The Pset report table: for each Pset number 0..9 the values and 40-character texts of one Pset as the
// controller holds it, filled from the four packets of a Pset read.

#include <QString>

#include <array>
#include <optional>

namespace clink {

// A Pset on the wire: four packets of seven bytes, held in DataBuffer(0..27) after a read.
inline constexpr int PsetPacketBytes = 7;
inline constexpr int PsetBytes = 4 * PsetPacketBytes;

struct PsetReportRecord {
    static constexpr int Fields = 16;
    // Value k and its text; an entry never written stays empty.
    std::array<std::optional<double>, Fields> Values{};
    std::array<QString, Fields> Texts{};
};

inline constexpr int PsetReportRecords = 10;
using PsetReportTableArray = std::array<PsetReportRecord, PsetReportRecords>;

// Fills the record from a Pset in its received layout (strategy at 0, torque target low/high at 1/2, ...,
// units at 26, Pset number at 27). Units and strategy codes without a text leave their text as it was.
void buildPsetReportRecord(PsetReportRecord& record, const std::array<int, PsetBytes>& pset);

} // namespace clink
