#pragma once
// The logic and ladder editors' receive of the controller's program, with each editor's waits on every link
// (the block loop is clink::BlockReceiver's): the rung-table editors read blocks 1..n, the ladder editor
// clears the image its send would build, sets the parallel-port dongle up for the answers once more and
// reads blocks 0..109. The program image lands in DataBuffer from word 0, where the editor reads it.
//
// The caller has made the link check for 09EF0801 and the version check, holds the busy state and shows the
// messages; the progress is the editor's bar.
//
//   clink::ProgramReceive receive(link);
//   if (receive.ladder(LadderImageSentSlots, progress) == clink::ProgramReceive::Outcome::Received)
//       ... DataBuffer(0..659) holds the controller's ladder ...

#include "base/progress.h"

#include <functional>

namespace clink {

class ControllerLink;

class ProgramReceive {
public:
    // The ladder editor reads blocks 0..109.
    static constexpr int LadderLastBlock = 109;

    enum class Outcome {
        Received,     // every block came
        DongleFailed, // the parallel-port dongle could not be set up before the blocks
        BlockMissing, // a block did not come (or no link is chosen)
    };

    // ended, when given, says between two blocks that the user ended the command: the read stops there,
    // as at a block that did not come (a block under way is ended by cancelling the link's transaction).
    explicit ProgramReceive(ControllerLink& link, std::function<bool()> ended = {})
        : link_(link), ended_(std::move(ended)) {}

    // The rung-table editors' read of blocks 1..blocks into DataBuffer(0..6 x blocks - 1). True when every
    // block came.
    bool rungTables(int blocks, base::Progress& progress);
    // The ladder editor's read: DataBuffer(1..imageWords - 1) cleared (word 0, the rung count, comes with
    // block 0) and DataCount 0, on the parallel port the dongle set up for the answers, then blocks 0..109.
    Outcome ladder(int imageWords, base::Progress& progress);

private:
    ControllerLink& link_;
    std::function<bool()> ended_;
};

} // namespace clink
