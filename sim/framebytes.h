#pragma once
// Pieces of the controller's frames that several of its answers build: the two bytes of a word, and the
// acknowledgement [A0 code b2 b3 0 0 0 0] on the command reply identifier.

#include "link/canid.h"
#include "link/commandcodes.h"

namespace sim {

inline int lowByte(int word) {
    return word & 0xFF;
}
inline int highByte(int word) {
    return (word >> 8) & 0xFF;
}

inline clink::CanMessage commandAcknowledgement(int code, int b2 = 0, int b3 = 0) {
    return {clink::ids::CommandReply, {clink::codes::Acknowledge, code, b2, b3, 0, 0, 0, 0}};
}

} // namespace sim
