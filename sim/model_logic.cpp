// The controller's logic store on the command identifier: blocks [61 n six bytes] stored under n and
// acknowledged [A0 61 n b0], requests [62 n 0...] answered [62 n six bytes] (zeros for a block never
// stored), and the faults a test gives them.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int BlockWords = 6;
constexpr int ByteMask = 0xFF;
// Data bytes of a block frame: code, block number, then the six words.
constexpr int FirstWordByte = 2;
} // namespace

void ControllerModel::storeLogicWords(const std::vector<int>& words, int firstBlock) {
    for (size_t i = 0; i < words.size(); ++i)
        logicBlocks[firstBlock + int(i) / BlockWords][i % BlockWords] = words[i] & ByteMask;
}

std::vector<int> ControllerModel::logicWords(int blocks, int firstBlock) const {
    std::vector<int> words(size_t(blocks * BlockWords), 0);
    for (int b = 0; b < blocks; ++b)
        if (const auto it = logicBlocks.find(firstBlock + b); it != logicBlocks.end())
            for (int k = 0; k < BlockWords; ++k)
                words[size_t(b * BlockWords + k)] = it->second[size_t(k)];
    return words;
}

int ControllerModel::echoedLogicBlock(int block) {
    if (!wrongLogicBlockEcho)
        return block;
    wrongLogicBlockEcho = false;
    return (block + 1) & ByteMask;
}

std::vector<CanMessage> ControllerModel::logicRequest(const CanMessage& m) {
    const auto& d = m.data;
    const int block = d[1];
    if (d[0] == codes::LogicBlock) {
        // A block the controller does not take is neither stored nor acknowledged.
        if (unacknowledgedLogicBlocks.count(block))
            return {};
        Block& stored = logicBlocks[block];
        for (size_t i = 0; i < stored.size(); ++i)
            stored[i] = d[FirstWordByte + i];
        return {commandAcknowledgement(codes::LogicBlock, echoedLogicBlock(block), d[2])};
    }
    if (unansweredLogicBlocks.count(block))
        return {};
    CanMessage reply{ids::CommandReply, {codes::LogicBlockRequest, echoedLogicBlock(block)}};
    if (const auto it = logicBlocks.find(block); it != logicBlocks.end())
        for (size_t i = 0; i < it->second.size(); ++i)
            reply.data[FirstWordByte + i] = it->second[i];
    return {reply};
}

} // namespace sim
