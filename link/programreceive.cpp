#include "link/programreceive.h"

#include "link/blockreceive.h"
#include "link/controllerlink.h"

namespace clink {

bool ProgramReceive::rungTables(int blocks, base::Progress& progress) {
    BlockReceiver receiver(link_, BlockReceiveCounts::rungTableEditors(link_.state.TransferDelay), ended_);
    return receiver.receive(1, blocks, progress);
}

ProgramReceive::Outcome ProgramReceive::ladder(int imageWords, base::Progress& progress) {
    LinkState& s = link_.state;
    for (int word = 1; word < imageWords; ++word)
        s.DataBuffer.put(word, 0);
    s.DataCount = 0;
    if (s.ConnectionType == ParallelPort && !link_.dataTx.ConfigureCanDongle(ids::CommandReply))
        return Outcome::DongleFailed;
    BlockReceiver receiver(link_, BlockReceiveCounts::ladderEditor(), ended_);
    return receiver.receive(0, LadderLastBlock, progress) ? Outcome::Received : Outcome::BlockMissing;
}

} // namespace clink
