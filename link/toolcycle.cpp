#include "link/toolcycle.h"

#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/transaction.h"

namespace clink {

namespace {
constexpr int EndOfCycleMark = 0x01;
// The message after a good count: [50 00 08 0 ...].
constexpr int CountedMark = 0x08;
constexpr int ByteValues = 256;
} // namespace

bool ToolCycleMessages::endOfCycle() {
    return send({codes::ToolEndOfCycle, EndOfCycleMark, 0, 0, 0, 0, 0, 0});
}

bool ToolCycleMessages::cycleCounted() {
    return send({codes::ToolCycleCounted, 0, CountedMark, 0, 0, 0, 0, 0});
}

std::optional<int> ToolCycleMessages::readCount(const std::array<int, 2>& addresses) {
    LinkState& s = link_.state;
    s.DataCount = 0;
    for (const int address : addresses)
        if (!link_.dataTx.ReadToolEeprom(address))
            return std::nullopt;
    return s.DataBuffer[0] * ByteValues + s.DataBuffer[1];
}

bool ToolCycleMessages::send(const std::array<int, 8>& data) {
    // The tool does not answer; over Ethernet and USB the dongle keeps passing the tool EEPROM's replies,
    // which the test reads next.
    Transaction tx(link_);
    return link_.dataTx.SendUnanswered(ids::ToolEepromReply, {ids::ToolReply, data});
}

} // namespace clink
