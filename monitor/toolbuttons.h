#pragma once
// The exchanges of the button and LED monitors on the tool's request identifier (10EF0201): the
// button-state request [30 0 ...], answered on 10EF0602 [0 cw trigger ccw center 0 0 0], and the LED
// command [70 yellow red green blue 0 0 0] (0 off, 1 on, 2 flashing), which gets no answer.

#include <array>
#include <optional>

namespace clink {
class ControllerLink;
}

namespace monitor {

// Reply bytes 1..4: clockwise, trigger, counter-clockwise, center; 0 released.
using ButtonStates = std::array<int, 4>;
// Yellow, red, green, blue.
using LedStates = std::array<int, 4>;

class ToolButtonExchange {
public:
    static constexpr int ButtonRequestCode = 0x30;
    static constexpr int LedCommandCode = 0x70;

    explicit ToolButtonExchange(clink::ControllerLink& link) : link_(link) {}

    // Sends the button-state request on the chosen link and takes the answer when one with data byte 0 =
    // 0 arrived: on the parallel port what waits in the receive buffer, over Ethernet a 10EF0602 frame
    // heard while the request waited, over USB the answer of a transfer that worked.
    std::optional<ButtonStates> requestButtonStates();
    // Sends the LED command; false when the link refused it.
    bool sendLedCommand(const LedStates& states);

private:
    clink::ControllerLink& link_;
};

} // namespace monitor
