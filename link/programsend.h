#pragma once
// The logic and ladder editors' send of a program to the controller, on every link (each block or frame is
// one of the link's transactions, acknowledged on 09EF0801): the image is put in DataBuffer from word 0,
// where it stays after the send, then the rung-table editors send it in blocks [61 n six words] and the
// ladder editor sends the frames it composed from it. The send stops at the first block or frame that is
// not acknowledged; the controller keeps what was acknowledged before it.
//
// The caller has made the link check for 09EF0801 and the version check, holds the busy state, shows the
// messages and sends the logic restart after the image.
//
//   clink::ProgramSend send(link);
//   send.load(image.sentWords(variant));
//   if (!send.logicBlocks(version.blocks, progress))
//       ... "Logic I/O Not Sent" ...

#include "base/progress.h"

#include <array>
#include <functional>
#include <span>

namespace clink {

class ControllerLink;

class ProgramSend {
public:
    // ended, when given, says before each block or frame that the user ended the command: the send stops
    // there, as at one not acknowledged (one under way is ended by cancelling the link's transaction).
    explicit ProgramSend(ControllerLink& link, std::function<bool()> ended = {})
        : link_(link), ended_(std::move(ended)) {}

    // The image into DataBuffer from word 0 (what lies beyond it is left as it was); an image that does not
    // fit the buffer is not put at all.
    void load(std::span<const int> words);
    // The rung-table editors' send: DataCount 0, then blocks 1..blocks of the image in DataBuffer. The
    // progress runs 0..blocks with the blocks acknowledged. True when every block was acknowledged.
    bool logicBlocks(int blocks, base::Progress& progress);
    // The ladder editor's send of its frames in order; acknowledged(n) follows the n-th acknowledgement. True
    // when every frame was acknowledged.
    bool ladderFrames(std::span<const std::array<int, 8>> frames,
                      const std::function<void(int)>& acknowledged);

private:
    bool goesOn() const { return !ended_ || !ended_(); }

    ControllerLink& link_;
    std::function<bool()> ended_;
};

} // namespace clink
