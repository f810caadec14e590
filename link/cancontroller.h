#pragma once
// The dongle's CAN controller as the parallel-port link drives it: the register addresses, bits and
// values in use, the SPI instructions, and the identifier register layout shared by acceptance filter 0,
// mask 0 and transmit buffer 0.

#include "link/canid.h"

#include <array>
#include <cstdint>

namespace clink::canctl {

// SPI instructions.
inline constexpr int InstrWrite = 0x02;
inline constexpr int InstrRead = 0x03;
inline constexpr int InstrBitModify = 0x05;
inline constexpr int InstrReset = 0xC0;

// Registers.
inline constexpr int RXF0SIDH = 0x00; // acceptance filter 0: SIDH, SIDL, EID8, EID0
inline constexpr int RXF0SIDL = 0x01;
inline constexpr int RXF0EID8 = 0x02;
inline constexpr int RXF0EID0 = 0x03;
inline constexpr int BFPCTRL = 0x0C;
inline constexpr int CANSTAT = 0x0E;
inline constexpr int CANCTRL = 0x0F;
inline constexpr int RXM0SIDH = 0x20; // acceptance mask 0: SIDH, SIDL, EID8, EID0
inline constexpr int RXM0SIDL = 0x21;
inline constexpr int RXM0EID8 = 0x22;
inline constexpr int RXM0EID0 = 0x23;
inline constexpr int CNF3 = 0x28;
inline constexpr int CNF2 = 0x29;
inline constexpr int CNF1 = 0x2A;
inline constexpr int CANINTE = 0x2B;
inline constexpr int CANINTF = 0x2C;
inline constexpr int TXB0CTRL = 0x30;
inline constexpr int TXB0SIDH = 0x31; // then SIDL, EID8, EID0
inline constexpr int TXB0DLC = 0x35;
inline constexpr int TXB0D0 = 0x36; // .. TXB0D7 = 0x3D
inline constexpr int RXB0CTRL = 0x60;
inline constexpr int RXB0SIDH = 0x61; // then SIDL, EID8, EID0
inline constexpr int RXB0DLC = 0x65;
inline constexpr int RXB0D0 = 0x66; // .. RXB0D7 = 0x6D
inline constexpr int RegisterCount = 128;

// Bits and values.
inline constexpr int ModeMask = 0xE0; // CANSTAT OPMOD / CANCTRL REQOP
inline constexpr int ModeNormal = 0x00;
inline constexpr int ModeConfig = 0x80;
inline constexpr int RX0IF = 0x01;        // CANINTF: a message waits in receive buffer 0
inline constexpr int TX0IF = 0x04;        // CANINTF: transmit buffer 0 sent
inline constexpr int TXREQ = 0x08;        // TXB0CTRL: transmit request
inline constexpr int SidlExtended = 0x08; // SIDL: extended identifier
inline constexpr int DlcMask = 0x0F;
inline constexpr int RxmMask = 0x60; // RXB0CTRL: receive mode
inline constexpr int RxmExtendedOnly = 0x40;
inline constexpr int RxmAny = 0x60;
inline constexpr int RxmStandardOnly = 0x20;
inline constexpr int ExtendedIdMask = 0x1FFFFFFF;

// The four identifier registers (SIDH, SIDL with the extended flag, EID8, EID0) of a 29-bit identifier.
constexpr std::array<int, 4> idRegisters(CanId id) {
    return {int((id >> 21) & 0xFF), int(((id >> 18) & 7) * 32 + SidlExtended + ((id >> 16) & 3)),
            int((id >> 8) & 0xFF), int(id & 0xFF)};
}

// The identifier held in four identifier registers (the extended flag is not part of it).
constexpr CanId idFromRegisters(int sidh, int sidl, int eid8, int eid0) {
    return (CanId(sidh & 0xFF) << 21) | (CanId((sidl >> 5) & 7) << 18) | (CanId(sidl & 3) << 16) |
           (CanId(eid8 & 0xFF) << 8) | CanId(eid0 & 0xFF);
}

} // namespace clink::canctl
