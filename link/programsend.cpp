#include "link/programsend.h"

#include "link/controllerlink.h"

namespace clink {

void ProgramSend::load(std::span<const int> words) {
    link_.state.DataBuffer.putWords(0, words);
}

bool ProgramSend::logicBlocks(int blocks, base::Progress& progress) {
    link_.state.DataCount = 0;
    progress.setRange(0, blocks);
    progress.setValue(0);
    for (int block = 1; block <= blocks; ++block) {
        if (!goesOn() || !link_.dataTx.SendLogicIoProgram(block))
            return false;
        progress.setValue(block);
    }
    return true;
}

bool ProgramSend::ladderFrames(std::span<const std::array<int, 8>> frames,
                               const std::function<void(int)>& acknowledged) {
    int sent = 0;
    for (const std::array<int, 8>& frame : frames) {
        if (!goesOn() || !link_.dataTx.SendPlcProgram(frame))
            return false;
        acknowledged(++sent);
    }
    return true;
}

} // namespace clink
