#include "link/spi.h"

#include "base/eventpump.h"
#include "link/cancontroller.h"
#include "link/linkstate.h"

#include <chrono>
#include <thread>

namespace clink {

namespace {
constexpr int BitsPerByte = 8;
constexpr int ByteMask = 0xFF;
// Length of the reset pulse.
constexpr std::chrono::microseconds ResetPulse{10};
// The byte the post-write sequence clocks out before its eight idle clocks. The controller takes it for
// the start of a BIT MODIFY, which chip select going high then cuts short.
constexpr int PostWriteByte = 0x05;
} // namespace

spi::spi(LinkState& state, base::EventPump& pump, PortIo& port) : s_(state), pump_(pump), port_(&port) {}

bool spi::active() const {
    return s_.ConnectionType == ParallelPort;
}

void spi::writeShadow() {
    port_->write(PortIo::DataPort, uint8_t(s_.PortShadow & ByteMask));
}

void spi::setLine(int bit, int level) {
    s_.PortShadow = SetPortBit(s_.PortShadow, bit, level);
    writeShadow();
}

void spi::InitializePort() {
    s_.PortShadow = 0;
    port_->write(PortIo::DataPort, 0);
    ChipSelectHigh();
    s_.PortShadow = 0;
}

void spi::ChipSelectLow() {
    if (active())
        setLine(ChipSelectBit, 0);
}

void spi::ChipSelectHigh() {
    if (active())
        setLine(ChipSelectBit, 1);
}

void spi::ResetLineLow() {
    if (active())
        setLine(ResetBit, 0);
}

void spi::ResetLineHigh() {
    if (active())
        setLine(ResetBit, 1);
}

void spi::ClockOutBit(int level) {
    if (!active())
        return;
    setLine(SerialDataBit, level);
    setLine(ClockBit, 1);
    setLine(ClockBit, 0);
}

int spi::ClockInByte() {
    if (!active())
        return 0;
    writeShadow();
    int result = 0;
    for (int position = BitsPerByte - 1; position >= 0; --position) {
        setLine(ClockBit, 1);
        if (port_->read(PortIo::StatusPort) & SerialInMask)
            result += 1 << position;
        setLine(ClockBit, 0);
    }
    return result;
}

void spi::clockOutByte(int value) {
    for (int n = BitsPerByte - 1; n >= 0; --n)
        ClockOutBit(GetBit(value, n));
}

void spi::pulseClock() {
    setLine(ClockBit, 1);
    setLine(ClockBit, 0);
}

void spi::SendReadInstruction() {
    if (active())
        clockOutByte(canctl::InstrRead);
}

void spi::SendWriteInstruction() {
    if (active())
        clockOutByte(canctl::InstrWrite);
}

void spi::ResetController() {
    if (!active())
        return;
    ResetLineLow();
    std::this_thread::sleep_for(ResetPulse);
    ResetLineHigh();
    clockOutByte(canctl::InstrReset);
}

int spi::ReadRegister(int address) {
    if (!active())
        return 0;
    ResetLineHigh();
    ChipSelectLow();
    SendReadInstruction();
    clockOutByte(address);
    const int value = ClockInByte();
    ChipSelectHigh();
    return value;
}

void spi::WriteRegister(int value, int address) {
    if (!active())
        return;
    ChipSelectLow();
    SendWriteInstruction();
    clockOutByte(address);
    clockOutByte(value);
    ChipSelectHigh();
    PollBusy();
}

void spi::PollBusy() {
    if (!active())
        return;
    ChipSelectLow();
    clockOutByte(PostWriteByte);
    for (int i = 0; i < BitsPerByte; ++i)
        pulseClock();
    writeShadow();
    ChipSelectHigh();
    ChipSelectLow();
    pump_.doEvents();
    ChipSelectHigh();
}

} // namespace clink
