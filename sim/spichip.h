#pragma once
// The parallel-port dongle: its CAN controller seen through the printer port. The chip decodes the SPI
// bus from the edges of the data register lines (SI bit 0, SCK bit 1, /CS bit 2, /RESET bit 3), answers on
// status bit 7 (inverted by the port), keeps the register file with its operating modes, configuration
// write protection, acceptance filter 0 and mask 0, transmit buffer 0 and receive buffer 0. A transmitted
// message goes to the controller model; the model's replies wait on the bus and reach receive buffer 0
// through the acceptance filter.

#include "link/cancontroller.h"
#include "link/portio.h"
#include "sim/controllermodel.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

class SpiChip : public clink::PortIo {
public:
    // The status register's unused bits, as the port returns them.
    static constexpr uint8_t IdleStatusBits = 0x78;
    // A status broadcast every this many CANINTF reads while the bus is quiet.
    static constexpr int DefaultBroadcastEvery = 4;

    explicit SpiChip(ControllerModel* model = nullptr);

    // The controller on the bus; none: transmissions are never acknowledged (TXREQ stays set).
    void attach(ControllerModel* model) { model_ = model; }

    // --- inspection ---
    int reg(int address) const { return regs_[size_t(address & AddressMask)]; }
    // CANSTAT's operating-mode bits (0x80 configuration, 0x00 normal).
    int mode() const;
    bool inReset() const { return (lines_ & ResetLine) == 0; }
    CanId filterId() const;
    CanId maskId() const;
    // Frames on the bus not yet taken by the chip.
    size_t busPending() const { return bus_.size(); }

    // --- the bus ---
    // A frame the controller sends on its own; it is on the bus at once.
    void emitSpontaneous(const CanMessage& message, int latency = 0);
    // A frame put on the bus at the next CANINTF read.
    void armEvent(const CanMessage& message) { armed_.push_back(message); }

    // --- fault knobs ---
    bool portMissing = false;  // the port cannot be opened
    bool dongleAbsent = false; // nothing on the port: status bit 7 stuck at absentStatusHigh
    bool absentStatusHigh = false;
    bool stuckConfigMode = false; // CANCTRL writes are ignored
    int replyLatency = 0;         // replies become visible only after this many more CANINTF reads
    bool strictOverflow = false;  // frames arriving while RX0IF is set are lost
    // The controller's own frames (status broadcast, DSP revision) every this many quiet CANINTF reads; 0
    // none.
    int broadcastEvery = DefaultBroadcastEvery;

    // --- counters and logs ---
    int resets = 0; // hardware and RESET-instruction resets
    int framesTransmitted = 0;
    long portWrites = 0;
    long portReads = 0;
    int intfReads = 0;                   // CANINTF reads
    std::vector<CanMessage> transmitted; // frames the PC sent
    std::vector<CanMessage> delivered;   // frames loaded into receive buffer 0
    std::vector<CanMessage> rejected;    // frames the acceptance filter dropped
    std::vector<CanMessage> lost; // frames that arrived while receive buffer 0 was full (strictOverflow)
    struct PortOp {
        bool write;
        uint16_t port;
        uint8_t value;
        bool operator==(const PortOp&) const = default;
    };
    struct RegisterWrite {
        int address;
        int value;
        bool operator==(const RegisterWrite&) const = default;
    };
    // While set: every port operation, and every register WRITE the chip decoded (taken or not).
    bool recordTrace = false;
    std::vector<PortOp> trace;
    std::vector<RegisterWrite> registerWrites;
    void clearCounters();

protected:
    bool doOpen() override { return !portMissing; }
    void doClose() override {}
    void doWrite(uint16_t port, uint8_t value) override;
    uint8_t doRead(uint16_t port) override;

private:
    static constexpr int AddressMask = clink::canctl::RegisterCount - 1;
    static constexpr int SerialIn = 0x01;
    static constexpr int Clock = 0x02;
    static constexpr int ChipSelect = 0x04;
    static constexpr int ResetLine = 0x08;

    enum class Phase {
        Instruction,
        ReadAddress,
        ReadData,
        WriteAddress,
        WriteData,
        ModifyAddress,
        ModifyMask,
        ModifyData,
        Ignore
    };
    struct Pending {
        CanMessage message;
        int wait; // CANINTF reads before it is visible
    };

    void applyReset();
    void beginInstruction();
    void risingClock(int serialIn);
    void fallingClock();
    void onByte(int value);
    void loadReadByte(bool sequential);
    void writeRegister(int address, int value);
    void setMode(int mode);
    void transmit();
    void onIntfRead();
    void deliver();
    bool accepts(const CanMessage& message) const;

    ControllerModel* model_;
    std::array<uint8_t, clink::canctl::RegisterCount> regs_{};
    int lines_ = 0;
    bool selected_ = false;
    Phase phase_ = Phase::Ignore;
    int shift_ = 0;
    int bitCount_ = 0;
    int address_ = 0;
    int modifyMask_ = 0;
    int outByte_ = 0;
    int outBits_ = 0;
    int serialOut_ = 1;
    std::deque<Pending> bus_;
    std::vector<CanMessage> armed_;
};

} // namespace sim
