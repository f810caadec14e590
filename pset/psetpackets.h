#pragma once
// A Pset on the wire. The PC sends four packets on 15EF0103, codes 0x71..0x74, bytes 1..7:
//
//   0x71  strategy      target x10    hi x10        lo x10
//   0x72  ergo          threshold x10 downshift x10 cycle complete x10
//   0x73  1 (master)    angle target  angle hi      angle lo          (x10)
//   0x74  soft start    free speed    rpm downshift units code, Pset number
//
// values x10 as 16-bit words, low byte first. The controller returns the same bytes 1..7 of each packet
// (DataBuffer(0..27) after a block read), which the receive stores and reports.

#include "app/psettable.h"
#include "link/psetreport.h"

#include <QStringList>

#include <array>
#include <optional>

namespace pset {

using PsetPacket = std::array<int, 8>;
using PsetPackets = std::array<PsetPacket, clink::PsetBytes / clink::PsetPacketBytes>;
using PsetBlock = std::array<int, clink::PsetBytes>;

// The first of the six entry rules the Pset breaks, as its message (two blanks each side:
// "  Threshold = DownShift  "); nothing when it passes. Equal target and limits pass.
std::optional<QString> psetEntryError(const app::PsetRecord& record);

// The send's scaled texts of a Pset: the eleven value fields, each ten times the record's value in its
// shortest decimal form (12.3 gives "123"); the other fields stay blank.
app::PsetRecord scaledPset(const app::PsetRecord& record);

// The four packets of Pset n from its record (strategy, flags, units) and its scaled texts (values): each
// value rounded half to even, then split into its low and high byte (25.57 goes as 256: bytes 0, 1).
// Nothing when a value does not fit its bytes; fault then names the field and its range
// ("Tq Target Out Of Range (0 To 6553.5)").
std::optional<PsetPackets> psetPackets(const app::PsetRecord& record, const app::PsetRecord& scaled, int n,
                                       QString& fault);

// The report lines of Pset n as the controller sent it (its own units): a blank line, the title, the
// Pset number, units and strategy (no line for an unknown code), the eleven values, soft start, ergo and
// the master transducer.
QStringList receivedPsetReport(int n, const PsetBlock& block);

// Stores a received Pset into its record, values in the controller's units and its units code; the
// percent and the curve file keep what the record held.
void storeReceivedPset(const PsetBlock& block, app::PsetRecord& record);

} // namespace pset
