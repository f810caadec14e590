#pragma once
// Reads one Pset's rundown log from the controller: 140 blocks of five bytes, each asked for with
// [80 pset block] on 15EF0103 and answered [EA pset block x0..x4] on 09EF0801. The bytes land in
// DataBuffer(0..699) in order: on the parallel port and USB counted by DataCount, on Ethernet by
// EepromReadIndex (the reply handler stores the second matching answer of each block).
//
// The caller has chosen the link; on the parallel port it has left the dongle accepting 09EF0801 (the Pset
// read before it does).

#include "base/progress.h"

namespace clink {

class ControllerLink;

// The log: its blocks and the bytes of each.
inline constexpr int RundownLogBlocks = 140;
inline constexpr int RundownBlockBytes = 5;

class RundownLogReader {
public:
    // Parallel port: tries per block and CANINTF polls per try (a fixed count).
    static constexpr long PpTries = 300;
    static constexpr long PpPolls = 40;
    // Ethernet: filter frames first; per block a pause, the most sends, and the longer wait after the first.
    static constexpr int EthernetFilterFrames = 10;
    static constexpr long EthernetBlockPause = 500 * 3;
    static constexpr int EthernetSends = 501;
    static constexpr long EthernetFirstWait = 3001 * 2;

    explicit RundownLogReader(ControllerLink& link) : link_(link) {}

    // True when all 140 blocks were read. The progress runs 0..140 with the block number and keeps its
    // last value.
    bool read(int pset, base::Progress& progress);
    bool read(int pset) {
        base::NoProgress none;
        return read(pset, none);
    }

private:
    bool readPp(int pset, base::Progress& progress);
    bool readEthernet(int pset, base::Progress& progress);
    bool readUsb(int pset, base::Progress& progress);

    ControllerLink& link_;
};

} // namespace clink
