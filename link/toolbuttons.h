#pragma once
// The exchanges of the button and LED monitors on the tool's request identifier (10EF0201): the
// button-state request [30 0 ...], answered on 10EF0602 [0 cw trigger ccw center 0 0 0], and the LED
// command [70 yellow red green blue 0 0 0] (0 off, 1 on, 2 flashing), which gets no answer.

#include <array>
#include <optional>

namespace clink {

class ControllerLink;

// Reply bytes 1..4: clockwise, trigger, counter-clockwise, center; 0 released.
using ButtonStates = std::array<int, 4>;
// Yellow, red, green, blue.
using LedStates = std::array<int, 4>;

class ToolButtonExchange {
public:
    static constexpr int ButtonRequestCode = 0x30;
    static constexpr int LedCommandCode = 0x70;
    // The button monitor's opening requests, each followed by a pause of DoEvents.
    static constexpr int OpeningRequests = 10;
    static constexpr long OpeningRequestPause = 200;

    explicit ToolButtonExchange(ControllerLink& link) : link_(link) {}

    // Before the button monitor's window opens: the button request OpeningRequests times, each after one
    // DoEvents and followed by a pause. Over Ethernet and USB the tool's button reply is what the dongle
    // listens for; the results are not looked at.
    void sendOpeningRequests();
    // Sends the button-state request on the chosen link and takes the answer when one with data byte 0 =
    // 0 arrived: on the parallel port what waits in the receive buffer (its data byte 0 kept in
    // DataBuffer(0)), over Ethernet a 10EF0602 frame heard while the request waited, over USB the answer
    // of a transfer that worked.
    std::optional<ButtonStates> requestButtonStates();
    // Sends the LED command; false when the link refused it.
    bool sendLedCommand(const LedStates& states);

private:
    // One frame on the tool's request identifier, the button reply passed back; false when refused.
    bool send(const std::array<int, 8>& data);

    ControllerLink& link_;
};

} // namespace clink
