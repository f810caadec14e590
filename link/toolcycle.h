#pragma once
// The tool cycle-count test's conversation with the tool: the cycle messages on 13EF0106 (no answer) and
// the read of a count the tool keeps in its EEPROM, on the selected link.

#include <array>
#include <optional>

namespace clink {

class ControllerLink;

class ToolCycleMessages {
public:
    explicit ToolCycleMessages(ControllerLink& link) : link_(link) {}
    // [40 01 0 ...]: one cycle ended. True when the link took the frame.
    bool endOfCycle();
    // [50 00 08 0 ...]: the count was found right.
    bool cycleCounted();
    // The count kept in the two tool EEPROM bytes at these addresses, high byte first, read into
    // DataBuffer(0..1); nothing when a read failed (the second is not read after a failed first).
    std::optional<int> readCount(const std::array<int, 2>& addresses);

private:
    bool send(const std::array<int, 8>& data);
    ControllerLink& link_;
};

} // namespace clink
