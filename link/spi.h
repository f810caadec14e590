#pragma once
// The bit-banged SPI bus to the dongle's CAN controller over the printer port's data register. Every line
// change sets one bit of PortShadow and rewrites the whole register; the controller's serial output comes
// back, inverted by the port, on bit 7 of the status register, so every byte clocked in is complemented
// (callers Xor 255). Every routine does nothing, and a read gives 0, unless ConnectionType is 1.

#include "link/portio.h"

namespace base {
class EventPump;
}

namespace clink {

struct LinkState;

class spi {
public:
    // Data register lines.
    static constexpr int SerialDataBit = 0; // to the controller
    static constexpr int ClockBit = 1;
    static constexpr int ChipSelectBit = 2; // active low
    static constexpr int ResetBit = 3;      // active low
    // Status register bit carrying the controller's output (inverted by the port).
    static constexpr int SerialInMask = 0x80;

    spi(LinkState& state, base::EventPump& pump, PortIo& port);
    spi(const spi&) = delete;
    spi& operator=(const spi&) = delete;

    // The port the bus is driven through.
    PortIo& port() { return *port_; }
    void usePort(PortIo& port) { port_ = &port; }

    // Drives the port idle as every window that resets the port does, whatever the link: PortShadow and
    // the data register to 0 (controller held in reset), chip select high, then PortShadow to 0 without a
    // write, so the next line change lowers chip select as it releases the reset line.
    void InitializePort();

    // --- line routines ---
    static int GetBit(int value, int n) { return (value >> n) & 1; }
    static int SetPortBit(int shadow, int n, int level) {
        return level != 0 ? (shadow | (1 << n)) : (shadow & ~(1 << n));
    }
    void ChipSelectLow();
    void ChipSelectHigh();
    void ResetLineLow();
    void ResetLineHigh();

    // --- bit and byte routines ---
    void ClockOutBit(int level);
    // Eight bits, most significant first, sampled after each rising clock; still complemented.
    int ClockInByte();

    // --- instructions ---
    void SendReadInstruction();
    void SendWriteInstruction();
    // Reset pulse on the reset line, then the RESET instruction (chip select left as it is).
    void ResetController();

    // --- registers ---
    // The register's value, complemented as it arrives.
    int ReadRegister(int address);
    // Note the order: the value first, then the register address.
    void WriteRegister(int value, int address);
    // The sequence sent after every register write; the controller takes it as an aborted instruction.
    void PollBusy();

private:
    bool active() const;
    void setLine(int bit, int level);
    void writeShadow();
    void clockOutByte(int value);
    void pulseClock();

    LinkState& s_;
    base::EventPump& pump_;
    PortIo* port_;
};

} // namespace clink
