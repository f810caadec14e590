// The bit-banged SPI driver on the printer port: the exact port traffic, register access through the
// simulated chip, and the port backends.
#include "link/cancontroller.h"
#include "tests/support/ppfixture.h"

#include <QTemporaryDir>

using namespace clink;
using namespace clink::canctl;
using sim::SpiChip;

namespace {

class SpiDriver : public testsupport::PpFixture {
protected:
    // The register's true value, as the callers restore it.
    int readBack(int address) { return link.spi.ReadRegister(address) ^ 0xFF; }
};

constexpr int R = -1; // a status read in a golden trace

std::vector<int> traceOps(const std::vector<SpiChip::PortOp>& trace) {
    std::vector<int> ops;
    for (const auto& op : trace) {
        EXPECT_EQ(op.port, op.write ? PortIo::DataPort : PortIo::StatusPort);
        ops.push_back(op.write ? op.value : R);
    }
    return ops;
}

} // namespace

TEST_F(SpiDriver, ReadRegisterClocksTheExactGoldenTrace) {
    chip.clearCounters();
    chip.recordTrace = true;
    const int value = link.spi.ReadRegister(CANSTAT);
    // Reset released and chip select lowered; READ 03 and address 0E, each bit SI then SCK up and down;
    // one write of the shadow; eight clocks each sampled after the rising edge; chip select high.
    const std::vector<int> golden = {
        0x08, 0x08, 0x08, 0x0A, 0x08, 0x08, 0x0A, 0x08, 0x08, 0x0A, 0x08, 0x08, 0x0A, 0x08, 0x08, 0x0A,
        0x08, 0x08, 0x0A, 0x08, 0x09, 0x0B, 0x09, 0x09, 0x0B, 0x09, 0x08, 0x0A, 0x08, 0x08, 0x0A, 0x08,
        0x08, 0x0A, 0x08, 0x08, 0x0A, 0x08, 0x09, 0x0B, 0x09, 0x09, 0x0B, 0x09, 0x09, 0x0B, 0x09, 0x08,
        0x0A, 0x08, 0x08, 0x0A, R,    0x08, 0x0A, R,    0x08, 0x0A, R,    0x08, 0x0A, R,    0x08, 0x0A,
        R,    0x08, 0x0A, R,    0x08, 0x0A, R,    0x08, 0x0A, R,    0x08, 0x0C};
    EXPECT_EQ(traceOps(chip.trace), golden);
    EXPECT_EQ(chip.portWrites, 68);
    EXPECT_EQ(chip.portReads, 8);
    // Configuration mode (0x80) arrives complemented.
    EXPECT_EQ(value, 0x7F);
}

TEST_F(SpiDriver, PortIsLeftWithChipSelectHighButAZeroShadowAfterInitialisation) {
    chip.recordTrace = true;
    link.spi.InitializePort();
    EXPECT_EQ(traceOps(chip.trace), (std::vector<int>{0x00, 0x04}));
    EXPECT_EQ(s.PortShadow, 0);
    EXPECT_TRUE(chip.inReset());
    // The next line change lowers chip select together with the reset release.
    link.spi.ResetLineHigh();
    EXPECT_EQ(chip.trace.back().value, 0x08);
    EXPECT_FALSE(chip.inReset());
}

TEST_F(SpiDriver, EveryRegisterTheProgramUsesRoundTrips) {
    link.spi.ResetLineHigh(); // a write alone does not release the reset line
    // Configuration mode: filters, masks and bit timing are writable.
    std::vector<int> addresses = {RXF0SIDH, RXF0SIDL, RXF0EID8, RXF0EID0, RXM0SIDH, RXM0SIDL, RXM0EID8,
                                  RXM0EID0, CNF1,     CNF2,     CNF3,     BFPCTRL,  CANINTE,  RXB0CTRL};
    for (int a = TXB0SIDH; a <= TXB0D0 + 7; ++a)
        addresses.push_back(a);
    int n = 0;
    for (int a : addresses) {
        const int value = (0x5A + 37 * n++) & 0xFF;
        link.spi.WriteRegister(value, a);
        EXPECT_EQ(chip.reg(a), value) << std::hex << a;
        EXPECT_EQ(readBack(a), value) << std::hex << a;
    }
    // Transmit control: priority bits only (no transmit request in configuration mode).
    link.spi.WriteRegister(0x03, TXB0CTRL);
    EXPECT_EQ(readBack(TXB0CTRL), 0x03);
    // The interrupt flags and the mode.
    link.spi.WriteRegister(TX0IF, CANINTF);
    EXPECT_EQ(readBack(CANINTF), TX0IF);
    link.spi.WriteRegister(ModeNormal, CANCTRL);
    EXPECT_EQ(readBack(CANCTRL), 0x00);
    EXPECT_EQ(readBack(CANSTAT) & ModeMask, ModeNormal);
    link.spi.WriteRegister(ModeConfig, CANCTRL);
    EXPECT_EQ(readBack(CANSTAT) & ModeMask, ModeConfig);
}

TEST_F(SpiDriver, ValueComesFirstAndReadsArriveComplemented) {
    link.spi.ResetLineHigh();
    link.spi.WriteRegister(0x01, CANINTE);
    EXPECT_EQ(link.spi.ReadRegister(CANINTE), 0xFE);
    EXPECT_EQ(chip.reg(0x00), 0x00);

    configure(ids::ToolEepromReply);
    chip.emitSpontaneous({ids::ToolEepromReply, {0x30, 0, 0, 0, 0, 0, 0, 0}});
    link.spi.ReadRegister(CANINTF); // the chip takes the frame into its receive buffer
    ASSERT_EQ(chip.reg(CANINTF) & RX0IF, RX0IF);
    const int filter0 = chip.reg(RXF0SIDH);
    link.spi.WriteRegister(0, CANINTF); // clears CANINTF, not register 0
    EXPECT_EQ(chip.reg(CANINTF), 0);
    EXPECT_EQ(chip.reg(RXF0SIDH), filter0);
}

TEST_F(SpiDriver, PostWriteSequenceIsClockedAsSentAndChangesNothing) {
    std::array<int, clink::canctl::RegisterCount> before{};
    for (int a = 0; a < RegisterCount; ++a)
        before[size_t(a)] = chip.reg(a);
    link.spi.ResetLineHigh();
    chip.clearCounters();
    chip.recordTrace = true;
    link.spi.WriteRegister(0x42, BFPCTRL);
    // CS low, 3 bytes of 24 writes, CS high, then CS low, 05, 8 idle clocks, shadow, CS high, CS low, CS
    // high.
    EXPECT_EQ(chip.portWrites, 1 + 72 + 1 + 1 + 24 + 16 + 1 + 1 + 1 + 1);
    EXPECT_EQ(chip.portReads, 0);
    EXPECT_EQ(chip.registerWrites, (std::vector<SpiChip::RegisterWrite>{{BFPCTRL, 0x42}}));
    for (int a = 0; a < RegisterCount; ++a) {
        if (a != BFPCTRL) {
            EXPECT_EQ(chip.reg(a), before[size_t(a)]) << std::hex << a;
        }
    }
    // Eight idle clocks with the data line left at 1, the shadow once, chip select high, low and high.
    std::vector<int> tail;
    for (int i = 0; i < 8; ++i)
        tail.insert(tail.end(), {0x0B, 0x09});
    tail.insert(tail.end(), {0x09, 0x0D, 0x09, 0x0D});
    const std::vector<int> ops = traceOps(chip.trace);
    EXPECT_EQ(std::vector<int>(ops.end() - int(tail.size()), ops.end()), tail);
}

TEST_F(SpiDriver, ResetControllerPulsesTheResetLineAndItsInstructionGoesUnheard) {
    configure(ids::ToolEepromReply);
    ASSERT_EQ(chip.mode(), ModeNormal);
    chip.clearCounters();
    chip.recordTrace = true;
    link.spi.ResetController();
    // Reset low then high with chip select high, then C0 clocked with chip select still high.
    EXPECT_EQ(chip.trace[0].value, 0x04);
    EXPECT_EQ(chip.trace[1].value, 0x0C);
    EXPECT_EQ(chip.portWrites, 2 + 24);
    EXPECT_EQ(chip.resets, 1);
    EXPECT_EQ(chip.mode(), ModeConfig);
}

TEST_F(SpiDriver, OtherConnectionTypesNeverTouchThePort) {
    for (int16_t type : {NoConnection, TcpIp, Usb}) {
        s.ConnectionType = type;
        chip.clearCounters();
        const int shadow = s.PortShadow;
        spi& bus = link.spi;
        bus.ChipSelectLow();
        bus.ChipSelectHigh();
        bus.ResetLineLow();
        bus.ResetLineHigh();
        bus.ClockOutBit(1);
        EXPECT_EQ(bus.ClockInByte(), 0);
        bus.SendReadInstruction();
        bus.SendWriteInstruction();
        bus.ResetController();
        EXPECT_EQ(bus.ReadRegister(CANSTAT), 0);
        bus.WriteRegister(0, CANINTF);
        bus.PollBusy();
        link.dataTx.SetCanFilters(ids::ToolEepromReply);
        EXPECT_FALSE(link.dataTx.CheckConfigMode());
        EXPECT_FALSE(link.dataTx.CheckNormalMode());
        if (type != TcpIp) // the Ethernet form has its own tests
            link.dataTx.SendCanMessage({ids::ToolEepromRequest, {0x90, 0, 1, 0, 0, 0, 0, 0}});
        EXPECT_EQ(chip.portWrites + chip.portReads, 0) << type;
        EXPECT_EQ(s.PortShadow, shadow);
    }
}

TEST_F(SpiDriver, GetBitAndSetPortBit) {
    EXPECT_EQ(spi::GetBit(0x0E, 0), 0);
    EXPECT_EQ(spi::GetBit(0x0E, 3), 1);
    EXPECT_EQ(spi::SetPortBit(0x0C, 2, 0), 0x08);
    EXPECT_EQ(spi::SetPortBit(0x08, 1, 1), 0x0A);
    EXPECT_EQ(spi::SetPortBit(0x08, 1, 5), 0x0A); // any level other than 0 is high
}

TEST(PortIo, AClosedPortIgnoresWritesAndReadsZero) {
    SpiChip chip;
    chip.write(PortIo::DataPort, 0x08);
    EXPECT_EQ(chip.read(PortIo::StatusPort), 0);
    EXPECT_EQ(chip.portWrites + chip.portReads, 0);
    ASSERT_TRUE(chip.open());
    EXPECT_EQ(chip.read(PortIo::StatusPort), SpiChip::IdleStatusBits);
    chip.close();
    EXPECT_FALSE(chip.isOpen());
    EXPECT_EQ(chip.read(PortIo::StatusPort), 0);
    chip.portMissing = true;
    EXPECT_FALSE(chip.open());
    EXPECT_FALSE(chip.isOpen());
}

TEST(PpdevPortIo, AMissingDeviceFailsToOpenCleanly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PpdevPortIo port(dir.filePath(QStringLiteral("parport9")));
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.errorString().contains(QStringLiteral("parport9")));
    port.write(PortIo::DataPort, 0x08); // no-op
    EXPECT_EQ(port.read(PortIo::StatusPort), 0);
    port.close();
}

TEST(PpdevPortIo, ADeviceThatIsNotAParallelPortCannotBeClaimed) {
    PpdevPortIo port(QStringLiteral("/dev/null"));
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.errorString().startsWith(QStringLiteral("Cannot claim")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(QString::fromLatin1(PpdevPortIo::DefaultDevice), QStringLiteral("/dev/parport0"));
}
