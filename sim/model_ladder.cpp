// The ladder store of a type-3 controller on the command identifier: the editor's frames [61 b k s1..s5]
// written into a slot image and acknowledged [A0 61 b k], the requests [62 k ...] answered with six slots
// [62 k slots 6k..6k+5], the factory program the controller holds and restores, and the faults a test
// gives them.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

#include <algorithm>
#include <array>

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
// A frame's slots: block b (1..32) is slots 20(b - 1) + 1 .. 20b, sent in quarters k (1..4) of five.
constexpr int BlockSlots = 20;
constexpr int QuarterSlots = 5;
constexpr int LastBlock = 32;
constexpr int Quarters = 4;
// Data bytes: code, block, quarter, then the five slots; the header carries the rung count in byte 3.
constexpr int FirstSlotByte = 3;
// An answer block carries six slots from byte 2.
constexpr int AnswerSlots = 6;
constexpr int FirstAnswerByte = 2;

// The factory ladder program: one input and one output per rung. Input codes: 34 cycle accept, 35 cycle
// reject, 1 input 1 on; output codes: 7 green light on, 10 red light on, 16 output 1 on.
struct FactoryRung {
    int input;
    int output;
};
constexpr std::array<FactoryRung, 3> FactoryRungs{{{34, 7}, {35, 10}, {1, 16}}};
// A rung's inputs start at slot 20(r - 1) + 1, its outputs ten slots later.
constexpr int ListSlots = 10;

bool isHeader(int b, int k) {
    return b == 0 && k == 0;
}
bool isSlotFrame(int b, int k) {
    return b >= 1 && b <= LastBlock && k >= 1 && k <= Quarters;
}
} // namespace

void ControllerModel::holdFactoryLadder() {
    ladderDefaults.fill(0);
    ladderDefaults[0] = int(FactoryRungs.size());
    for (size_t r = 0; r < FactoryRungs.size(); ++r) {
        const size_t first = size_t(BlockSlots) * r + 1;
        ladderDefaults[first] = FactoryRungs[r].input;
        ladderDefaults[first + ListSlots] = FactoryRungs[r].output;
    }
    ladderSlots = ladderDefaults;
}

std::vector<CanMessage> ControllerModel::ladderRequest(const CanMessage& m) {
    const auto& d = m.data;
    if (d[0] == codes::LogicBlock) {
        const int b = d[1];
        const int k = d[2];
        // A frame the controller does not take (or cannot place) is neither stored nor acknowledged.
        if (unacknowledgedLadderFrames.count({b, k}) || (!isHeader(b, k) && !isSlotFrame(b, k)))
            return {};
        if (isHeader(b, k)) {
            ladderSlots.fill(0);
            ladderSlots[0] = d[FirstSlotByte];
        } else {
            const int first = BlockSlots * (b - 1) + QuarterSlots * (k - 1) + 1;
            for (int i = 0; i < QuarterSlots; ++i)
                ladderSlots[size_t(first + i)] = d[size_t(FirstSlotByte + i)];
        }
        return {commandAcknowledgement(codes::LogicBlock, echoedLogicBlock(b), k)};
    }
    const int block = d[1];
    if (unansweredLogicBlocks.count(block))
        return {};
    CanMessage reply{ids::CommandReply, {codes::LogicBlockRequest, echoedLogicBlock(block)}};
    const int first = AnswerSlots * block;
    for (int i = 0; i < AnswerSlots && first + i < LadderSlots; ++i)
        reply.data[size_t(FirstAnswerByte + i)] = ladderSlots[size_t(first + i)];
    return {reply};
}

} // namespace sim
