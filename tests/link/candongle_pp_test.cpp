// Dongle set-up and CAN messages on the parallel port against the simulated CAN-controller chip, and the
// Ethernet text form of SendCanMessage.
#include "link/cancontroller.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/ppfixture.h"

using namespace clink;
using namespace clink::canctl;
using sim::SpiChip;
using RW = SpiChip::RegisterWrite;

namespace {
class DonglePp : public testsupport::PpFixture {};
class SendCanMessageEthernet : public testsupport::EthernetFixture {};
} // namespace

TEST(CanControllerRegisters, IdentifierRegistersOfTheReplyIdentifiers) {
    EXPECT_EQ(idRegisters(0x12EF0602), (std::array<int, 4>{0x97, 0x6B, 0x06, 0x02}));
    EXPECT_EQ(idRegisters(0x10EF0602), (std::array<int, 4>{0x87, 0x6B, 0x06, 0x02}));
    EXPECT_EQ(idRegisters(0x09EF0801), (std::array<int, 4>{0x4F, 0x6B, 0x08, 0x01}));
    for (CanId id : {0x12EF0602u, 0x09EF0801u, 0x1FFFFFFFu, 0x00000000u, 0x13EF0D01u})
        EXPECT_EQ(
            idFromRegisters(idRegisters(id)[0], idRegisters(id)[1], idRegisters(id)[2], idRegisters(id)[3]),
            id);
}

TEST_F(DonglePp, ConfigurationLoadsTimingFilterMaskAndNormalMode) {
    chip.recordTrace = true;
    configure(ids::ToolEepromReply);
    EXPECT_EQ(chip.reg(CNF1), 0x01);
    EXPECT_EQ(chip.reg(CNF2), 0xB8);
    EXPECT_EQ(chip.reg(CNF3), 0x05);
    EXPECT_EQ(chip.reg(RXB0CTRL), 0x40);
    EXPECT_EQ(chip.reg(BFPCTRL), 0x00);
    EXPECT_EQ(chip.reg(CANINTE), 0x01);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(chip.reg(RXF0SIDH + i), (std::array{0x97, 0x6B, 0x06, 0x02})[size_t(i)]);
        EXPECT_EQ(chip.reg(RXM0SIDH + i), (std::array{0x97, 0xFF, 0xFF, 0xFF})[size_t(i)]);
    }
    EXPECT_EQ(chip.mode(), ModeNormal);
    // In normal mode CANSTAT arrives as FF.
    EXPECT_EQ(link.spi.ReadRegister(CANSTAT), 0xFF);
    // The writes in their order: timing, then the filter set-up, then the mode.
    const std::vector<RW> expected = {{CNF1, 0x01},     {CNF2, 0xB8},     {CNF3, 0x05},     {CANINTF, 0},
                                      {BFPCTRL, 0},     {RXB0CTRL, 0x40}, {RXF0SIDH, 0x97}, {RXM0SIDH, 0x97},
                                      {RXF0SIDL, 0x6B}, {RXM0SIDL, 0xFF}, {RXF0EID8, 0x06}, {RXM0EID8, 0xFF},
                                      {RXF0EID0, 0x02}, {RXM0EID0, 0xFF}, {CANINTE, 0x01},  {CANINTF, 0},
                                      {CANCTRL, 0x00}};
    EXPECT_EQ(chip.registerWrites, expected);
}

TEST_F(DonglePp, EverySetUpResetsTheController) {
    // Fresh from the port initialisation the chip is in configuration mode: no reset needed.
    configure(ids::ToolEepromReply);
    EXPECT_EQ(chip.resets, 0);
    configure(ids::CommandReply);
    EXPECT_EQ(chip.resets, 1);
    configure(ids::CommandReply);
    EXPECT_EQ(chip.resets, 2);
    EXPECT_EQ(chip.filterId(), ids::CommandReply);
    EXPECT_EQ(chip.mode(), ModeNormal);
}

TEST_F(DonglePp, AnAbsentDongleCannotBeConfigured) {
    for (bool high : {false, true}) {
        chip.dongleAbsent = true;
        chip.absentStatusHigh = high;
        EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply)) << high;
        EXPECT_FALSE(link.dataTx.CheckConfigMode());
    }
    chip.dongleAbsent = false;
    link.spi.InitializePort();
    configure(ids::ToolEepromReply);
}

TEST_F(DonglePp, AControllerStuckInConfigurationModeFailsAfterOneRetry) {
    chip.stuckConfigMode = true;
    chip.recordTrace = true;
    EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
    int modeWrites = 0;
    for (const RW& w : chip.registerWrites)
        modeWrites += w.address == CANCTRL;
    EXPECT_EQ(modeWrites, 2);
    EXPECT_EQ(chip.mode(), ModeConfig);
}

TEST_F(DonglePp, TimingAndFiltersAreProtectedOutsideConfigurationMode) {
    configure(ids::ToolEepromReply);
    link.spi.WriteRegister(0x07, CNF1);
    link.spi.WriteRegister(0x00, RXF0SIDH);
    link.spi.WriteRegister(0x00, RXM0EID0);
    EXPECT_EQ(chip.reg(CNF1), 0x01);
    EXPECT_EQ(chip.reg(RXF0SIDH), 0x97);
    EXPECT_EQ(chip.reg(RXM0EID0), 0xFF);
    link.spi.WriteRegister(0x00, CANSTAT); // read-only
    EXPECT_EQ(chip.mode(), ModeNormal);
}

TEST_F(DonglePp, TheMaskComparesOnlyTheHighIdentifierBitsSetInTheReplyIdentifier) {
    struct Case {
        CanId filter;
        CanId frame;
        bool passes;
    };
    for (const Case& c : {Case{0x10EF0602, 0x12EF0602, true}, Case{0x10EF0301, 0x15EF0301, true},
                          Case{0x12EF0106, 0x13EF0106, true}, Case{0x12EF0602, 0x10EF0602, false},
                          Case{0x12EF0602, 0x12EF0603, false}, Case{0x10EF0301, 0x10EE0301, false}}) {
        configure(c.filter);
        chip.clearCounters();
        chip.emitSpontaneous({c.frame, {1, 2, 3, 4, 5, 6, 7, 8}});
        const bool waiting = (link.spi.ReadRegister(CANINTF) & RX0IF) == 0;
        EXPECT_EQ(waiting, c.passes) << std::hex << c.filter << " " << c.frame;
        EXPECT_EQ(chip.delivered.size() + chip.rejected.size(), 1u);
        if (waiting) {
            for (int n = 0; n < 8; ++n)
                EXPECT_EQ(link.spi.ReadRegister(RXB0D0 + n) ^ 0xFF, n + 1);
        }
        link.spi.WriteRegister(0, CANINTF);
    }
}

TEST_F(DonglePp, SendCanMessageLoadsTransmitBufferZeroAndRequestsTransmission) {
    configure(ids::ToolEepromReply);
    model.noReply.insert(ids::ToolEepromRequest);
    chip.recordTrace = true;
    link.dataTx.SendCanMessage(0, ids::ToolEepromRequest, 3, 1, 8, {0x90, 1, 5, 0, 0, 0, 0, 7});
    const std::vector<RW> expected = {
        {TXB0CTRL, 3},   {TXB0SIDH, 0x87}, {TXB0SIDH + 1, 0x6B}, {TXB0SIDH + 2, 0x02}, {TXB0SIDH + 3, 0x01},
        {TXB0DLC, 8},    {TXB0D0, 0x90},   {TXB0D0 + 1, 1},      {TXB0D0 + 2, 5},      {TXB0D0 + 3, 0},
        {TXB0D0 + 4, 0}, {TXB0D0 + 5, 0},  {TXB0D0 + 6, 0},      {TXB0D0 + 7, 7},      {TXB0CTRL, 11}};
    EXPECT_EQ(chip.registerWrites, expected);
    ASSERT_EQ(chip.transmitted.size(), 1u);
    EXPECT_EQ(chip.transmitted[0], (CanMessage{ids::ToolEepromRequest, {0x90, 1, 5, 0, 0, 0, 0, 7}}));
    EXPECT_EQ(model.received.back(), chip.transmitted[0]);
    EXPECT_EQ(chip.reg(TXB0CTRL) & TXREQ, 0);
    EXPECT_EQ(chip.reg(CANINTF) & TX0IF, TX0IF);
}

TEST_F(DonglePp, AMessageNobodyAcknowledgesStaysPending) {
    chip.attach(nullptr);
    configure(ids::ToolEepromReply);
    link.dataTx.SendCanMessage({ids::ToolEepromRequest, {0x90, 0, 1, 0, 0, 0, 0, 0}});
    EXPECT_EQ(chip.reg(TXB0CTRL) & TXREQ, TXREQ);
    EXPECT_EQ(chip.framesTransmitted, 0);
}

TEST_F(SendCanMessageEthernet, SendsTheOldTextFrameWithoutLineEnd) {
    link.dataTx.SendCanMessage(0, ids::LoggerRequest, 3, 1, 8, {0xAA, 1, 2, 0, 0, 0, 0, 255});
    ASSERT_TRUE(waitFor([&] { return !dongle.otherFrames.empty(); }));
    EXPECT_EQ(dongle.otherFrames[0], QByteArray("%CAN0,13EF0305,3,1,8,170,1,2,0,0,0,0,255NAC%"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SendCanMessageEthernet, NotConnectedIsShownOncePerTransaction) {
    link.socket.close();
    link.dataTx.SendCanMessage({ids::LoggerRequest, {0xAA, 0, 0, 0, 0, 0, 0, 0}});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Ethernet not connected"));
    EXPECT_EQ(dialogs.messages[0].caption, base::ProgramTitle);
    {
        DataTx::SendBatch batch(link.dataTx);
        for (int i = 0; i < 30; ++i)
            link.dataTx.SendCanMessage({ids::LoggerRequest, {0xAA, 0, 0, 0, 0, 0, 0, 0}});
    }
    EXPECT_EQ(dialogs.messages.size(), 2u);
    {
        DataTx::SendBatch batch(link.dataTx);
        link.dataTx.SendCanMessage({ids::LoggerRequest, {0xAA, 0, 0, 0, 0, 0, 0, 0}});
    }
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dongle.otherFrames.empty());
}

TEST_F(DonglePp, APortThatDidNotOpenCannotConfigureTheDongle) {
    chip.close();
    EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
    EXPECT_EQ(chip.portWrites + chip.portReads, 2); // the port initialisation only
}
