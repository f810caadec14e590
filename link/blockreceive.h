#pragma once
// Reads a program image from the controller block by block, as the logic editors and the ladder editor
// receive: block k is asked for with [62 k 0 0 0 0 0 0] on 15EF0103 and answered [62 k six bytes] on
// 09EF0801. Block k lands at DataBuffer(6(k - first)) on every link: before each request DataCount is set to
// the block's own place (the parallel-port and USB takes and the Ethernet reply handler all store at
// DataCount), so an answer that comes twice or late can only land in the next block's place, which that
// block's own answer overwrites. Every block is required: the read ends at the first one that does not come.
//
// The editors wait differently (BlockReceiveCounts::rungTableEditors and ladderEditor), so the counts are
// passed in:
//
//                      rung-table editors                  ladder editor
//   parallel port      TransferDelay x 30 requests,        30 requests, 25 looks after each
//                      TransferDelay x 100 looks after each
//   Ethernet           the request, 100 DoEvents;          a filter frame, 1000 DoEvents;
//                      501 attempts, 3001 DoEvents         50 attempts, 301 DoEvents
//   USB                1 answer exchange (its 11 tries)    25 answer exchanges
//
// On Ethernet every attempt counts toward its bound, and a send the link refuses (the socket is down) ends
// the read at once: nothing can answer any more. Each block is one transaction of the link: it also ends
// when the controller has been silent for the link's silence cap, or when the program closes.
//
// The caller has made the link check for 09EF0801 and the version check, and holds the busy state.
//
//   clink::BlockReceiver receiver(link, clink::BlockReceiveCounts::rungTableEditors(s.TransferDelay));
//   if (!receiver.receive(1, 117, progress))   // blocks 1..117 into DataBuffer(0..701)
//       ... receiver.missingBlock() did not come ...

#include "base/progress.h"

#include <functional>

namespace clink {

class ControllerLink;

// What each block of an Ethernet read sends first: the request itself, or a filter frame for 09EF0801.
enum class EthernetBlockLead { Request, FilterFrame };

struct BlockReceiveCounts {
    // Parallel port: requests per block, and looks for the answer after each request (a look never waits).
    long ppRequests = 0;
    long ppLooks = 0;
    // Ethernet: the lead frame, then (when it went out) DoEvents that let the dongle settle.
    EthernetBlockLead ethernetLead = EthernetBlockLead::Request;
    long ethernetSettle = 0;
    // Ethernet: attempts per block, each sending the request, and the DoEvents the waits for the answer
    // after them spend together.
    int ethernetAttempts = 0;
    long ethernetWait = 0;
    // USB: answer exchanges per block, each one with the USB link's own tries.
    int usbExchanges = 0;

    // The rung-table editors' counts (the parallel port's scaled by TransferDelay), and the ladder editor's.
    static BlockReceiveCounts rungTableEditors(long transferDelay);
    static BlockReceiveCounts ladderEditor();
};

class BlockReceiver {
public:
    // Six image words per block.
    static constexpr int BlockWords = 6;

    // ended, when given, says before each block that the user ended the command the read serves: the read
    // then stops as at a block that did not come.
    BlockReceiver(ControllerLink& link, const BlockReceiveCounts& counts, std::function<bool()> ended = {})
        : link_(link), counts_(counts), ended_(std::move(ended)) {}

    // Reads blocks first..last (0..255) in order into DataBuffer from word 0. The progress runs 0..last with
    // the number of the block being read and keeps its last value. True when every block came; false at the
    // first that did not, with no link chosen, or for blocks that do not fit the buffer or a frame.
    bool receive(int first, int last, base::Progress& progress);
    bool receive(int first, int last) {
        base::NoProgress none;
        return receive(first, last, none);
    }

    // The block that did not come after a failed read; -1 when every block came or none was asked for.
    int missingBlock() const { return missing_; }

private:
    bool receiveBlock(int block, int offset);
    bool receivePp(int block, int offset);
    bool receiveEthernet(int block, int offset);
    bool receiveUsb(int block, int offset);

    ControllerLink& link_;
    BlockReceiveCounts counts_;
    std::function<bool()> ended_;
    int missing_ = -1;
};

} // namespace clink
