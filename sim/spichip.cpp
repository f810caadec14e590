#include "sim/spichip.h"

#include <algorithm>

namespace sim {

using namespace clink::canctl;
using clink::PortIo;

namespace {
constexpr int BitsPerByte = 8;
constexpr int SerialOutStatus = 0x80; // status bit 7 = NOT SO
// Register values after a reset.
constexpr int ResetCanctrl = 0x87;
// TXB0CTRL bits the PC can write: priority (1..0) and TXREQ.
constexpr int TxCtrlWritable = 0x0B;
constexpr int DataBytes = 8;

// Registers written only in configuration mode: filters, masks and bit timing.
bool configOnly(int address) {
    return (address >= RXF0SIDH && address <= 0x0B) || (address >= 0x10 && address <= 0x1B) ||
           (address >= RXM0SIDH && address <= CNF1);
}
} // namespace

SpiChip::SpiChip(ControllerModel* model) : model_(model) {
    applyReset();
}

int SpiChip::mode() const {
    return regs_[CANSTAT] & ModeMask;
}

CanId SpiChip::filterId() const {
    return idFromRegisters(regs_[RXF0SIDH], regs_[RXF0SIDL], regs_[RXF0EID8], regs_[RXF0EID0]);
}

CanId SpiChip::maskId() const {
    return idFromRegisters(regs_[RXM0SIDH], regs_[RXM0SIDL], regs_[RXM0EID8], regs_[RXM0EID0]);
}

void SpiChip::emitSpontaneous(const CanMessage& message, int latency) {
    bus_.push_back({message, latency});
}

void SpiChip::clearCounters() {
    resets = 0;
    framesTransmitted = 0;
    portWrites = 0;
    portReads = 0;
    intfReads = 0;
    transmitted.clear();
    delivered.clear();
    rejected.clear();
    lost.clear();
    trace.clear();
    registerWrites.clear();
}

void SpiChip::applyReset() {
    regs_[CANSTAT] = ModeConfig;
    regs_[CANCTRL] = ResetCanctrl;
    regs_[CANINTF] = 0;
    regs_[CANINTE] = 0;
    regs_[TXB0CTRL] = 0;
    regs_[RXB0CTRL] = 0;
    regs_[CNF1] = regs_[CNF2] = regs_[CNF3] = 0;
    // Frames on the bus while the chip is not listening never reach it.
    bus_.clear();
    phase_ = Phase::Ignore;
    serialOut_ = 1;
}

// ---------------------------------------------------------------------------------------------------------
// Port side

void SpiChip::doWrite(uint16_t port, uint8_t value) {
    ++portWrites;
    if (recordTrace)
        trace.push_back({true, port, value});
    if (port != PortIo::DataPort || dongleAbsent)
        return;
    const int previous = lines_;
    lines_ = value;
    if (inReset()) {
        if ((previous & ResetLine) != 0)
            ++resets;
        applyReset();
        selected_ = false;
        return;
    }
    const bool selected = (value & ChipSelect) == 0;
    if (!selected) {
        // Chip select going high ends (or aborts) any instruction.
        selected_ = false;
        phase_ = Phase::Ignore;
        serialOut_ = 1;
        return;
    }
    if (!selected_) {
        selected_ = true;
        beginInstruction();
    }
    const bool clockWas = (previous & Clock) != 0;
    const bool clockIs = (value & Clock) != 0;
    if (clockIs && !clockWas)
        risingClock(value & SerialIn);
    else if (!clockIs && clockWas)
        fallingClock();
}

uint8_t SpiChip::doRead(uint16_t port) {
    ++portReads;
    uint8_t value = 0;
    if (port == PortIo::StatusPort) {
        const bool high = dongleAbsent ? absentStatusHigh : serialOut_ == 0;
        value = IdleStatusBits | (high ? SerialOutStatus : 0);
    } else if (port == PortIo::DataPort) {
        value = uint8_t(lines_);
    }
    if (recordTrace)
        trace.push_back({false, port, value});
    return value;
}

// ---------------------------------------------------------------------------------------------------------
// SPI decoding

void SpiChip::beginInstruction() {
    phase_ = Phase::Instruction;
    shift_ = 0;
    bitCount_ = 0;
    serialOut_ = 1;
}

void SpiChip::risingClock(int serialIn) {
    shift_ = ((shift_ << 1) | serialIn) & 0xFF;
    if (++bitCount_ == BitsPerByte) {
        bitCount_ = 0;
        onByte(shift_);
    }
}

void SpiChip::fallingClock() {
    if (phase_ != Phase::ReadData)
        return;
    if (outBits_ == BitsPerByte) {
        address_ = (address_ + 1) & AddressMask;
        loadReadByte(true);
    }
    serialOut_ = (outByte_ >> (BitsPerByte - 1 - outBits_)) & 1;
    ++outBits_;
}

void SpiChip::onByte(int value) {
    switch (phase_) {
    case Phase::Instruction:
        switch (value) {
        case InstrRead:
            phase_ = Phase::ReadAddress;
            break;
        case InstrWrite:
            phase_ = Phase::WriteAddress;
            break;
        case InstrBitModify:
            phase_ = Phase::ModifyAddress;
            break;
        case InstrReset:
            ++resets;
            applyReset();
            break;
        default:
            phase_ = Phase::Ignore; // instructions this program never sends
            break;
        }
        break;
    case Phase::ReadAddress:
        address_ = value & AddressMask;
        loadReadByte(false);
        phase_ = Phase::ReadData;
        break;
    case Phase::WriteAddress:
        address_ = value & AddressMask;
        phase_ = Phase::WriteData;
        break;
    case Phase::WriteData:
        if (recordTrace)
            registerWrites.push_back({address_, value});
        writeRegister(address_, value);
        address_ = (address_ + 1) & AddressMask;
        break;
    case Phase::ModifyAddress:
        address_ = value & AddressMask;
        phase_ = Phase::ModifyMask;
        break;
    case Phase::ModifyMask:
        modifyMask_ = value;
        phase_ = Phase::ModifyData;
        break;
    case Phase::ModifyData:
        writeRegister(address_, (regs_[size_t(address_)] & ~modifyMask_) | (value & modifyMask_));
        phase_ = Phase::Ignore;
        break;
    case Phase::ReadData:
    case Phase::Ignore:
        break;
    }
}

void SpiChip::loadReadByte(bool sequential) {
    if (!sequential && address_ == CANINTF)
        onIntfRead();
    outByte_ = regs_[size_t(address_)];
    outBits_ = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Registers

void SpiChip::writeRegister(int address, int value) {
    if (configOnly(address) && mode() != ModeConfig)
        return;
    switch (address) {
    case CANSTAT:
        return; // read-only
    case CANCTRL:
        if (stuckConfigMode)
            return;
        regs_[CANCTRL] = uint8_t(value);
        setMode(value & ModeMask);
        return;
    case CANINTF:
        regs_[CANINTF] = uint8_t(value);
        deliver();
        return;
    case TXB0CTRL:
        regs_[TXB0CTRL] = uint8_t(value & TxCtrlWritable);
        if ((value & TXREQ) && mode() == ModeNormal)
            transmit();
        return;
    default:
        regs_[size_t(address)] = uint8_t(value);
        return;
    }
}

void SpiChip::setMode(int newMode) {
    regs_[CANSTAT] = uint8_t((regs_[CANSTAT] & ~ModeMask) | newMode);
    if (newMode == ModeNormal && (regs_[TXB0CTRL] & TXREQ))
        transmit();
}

void SpiChip::transmit() {
    if (!model_)
        return; // nobody acknowledges: the request stays pending
    CanMessage message;
    message.id =
        idFromRegisters(regs_[TXB0SIDH], regs_[TXB0SIDH + 1], regs_[TXB0SIDH + 2], regs_[TXB0SIDH + 3]);
    const int dlc = std::min(regs_[TXB0DLC] & DlcMask, DataBytes);
    for (int i = 0; i < dlc; ++i)
        message.data[size_t(i)] = regs_[size_t(TXB0D0 + i)];
    regs_[TXB0CTRL] &= uint8_t(~TXREQ);
    regs_[CANINTF] |= uint8_t(TX0IF);
    ++framesTransmitted;
    transmitted.push_back(message);
    // The controller takes extended frames only.
    if ((regs_[TXB0SIDH + 1] & SidlExtended) == 0)
        return;
    for (const CanMessage& reply : model_->respond(message, Transport::ParallelPort))
        bus_.push_back({reply, replyLatency});
}

// ---------------------------------------------------------------------------------------------------------
// Receiving

void SpiChip::onIntfRead() {
    ++intfReads;
    for (const CanMessage& m : armed_)
        bus_.push_back({m, 0});
    armed_.clear();
    // A tool that streams its button sensors puts its next frame on the quiet bus.
    if (model_ && mode() == ModeNormal && bus_.empty())
        if (const auto frame = model_->nextButtonSensorFrame())
            emitSpontaneous(*frame);
    if (model_ && broadcastEvery > 0 && mode() == ModeNormal && bus_.empty() &&
        intfReads % broadcastEvery == 0)
        for (const CanMessage& m : model_->unpromptedFrames())
            bus_.push_back({m, 0});
    deliver();
    for (Pending& p : bus_) {
        if (p.wait > 0)
            --p.wait;
    }
}

void SpiChip::deliver() {
    if (mode() != ModeNormal)
        return;
    while (!bus_.empty() && bus_.front().wait == 0) {
        if (regs_[CANINTF] & RX0IF) {
            if (!strictOverflow)
                return;
            lost.push_back(bus_.front().message);
            bus_.pop_front();
            continue;
        }
        const CanMessage message = bus_.front().message;
        bus_.pop_front();
        if (!accepts(message)) {
            rejected.push_back(message);
            continue;
        }
        const auto id = idRegisters(message.id);
        for (int i = 0; i < int(id.size()); ++i)
            regs_[size_t(RXB0SIDH + i)] = uint8_t(id[size_t(i)]);
        regs_[RXB0DLC] = DataBytes;
        for (int i = 0; i < DataBytes; ++i)
            regs_[size_t(RXB0D0 + i)] = uint8_t(message.data[size_t(i)] & 0xFF);
        regs_[CANINTF] |= uint8_t(RX0IF);
        delivered.push_back(message);
    }
}

bool SpiChip::accepts(const CanMessage& message) const {
    switch (regs_[RXB0CTRL] & RxmMask) {
    case RxmAny:
        return true;
    case RxmStandardOnly:
        return false; // every frame on this bus is extended
    default:
        return (((message.id ^ filterId()) & maskId()) & ExtendedIdMask) == 0;
    }
}

} // namespace sim
