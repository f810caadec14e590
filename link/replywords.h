#pragma once
// Two reply bytes read as one 16-bit word. Measured values (a final torque or angle, an offset voltage, a
// speed) are signed; configured ones (targets, limits, capabilities) are unsigned.

namespace clink {

inline int unsignedWord(int high, int low) {
    return ((high & 0xFF) << 8) | (low & 0xFF);
}

inline int signedWord(int high, int low) {
    const int w = unsignedWord(high, low);
    return w >= 0x8000 ? w - 0x10000 : w;
}

} // namespace clink
