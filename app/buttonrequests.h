#pragma once
// The button monitor's preparatory requests, sent before its window opens: ten times the button request
// [30 0 ...] on the tool EEPROM's request identifier, each after one DoEvents and followed by a pause. Over
// Ethernet and USB the tool's button reply is what the dongle listens for; the results are not looked at.

namespace clink {
class ControllerLink;
}

namespace app {

inline constexpr int ButtonRequests = 10;
inline constexpr long ButtonRequestPause = 200;

void sendButtonRequests(clink::ControllerLink& link);

} // namespace app
