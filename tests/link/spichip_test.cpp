// The simulated CAN-controller chip as the stand-in's parallel-port dongle: SPI decoding rules, the bus,
// spontaneous frames and its fault knobs.
#include "link/cancontroller.h"
#include "link/ppexchange.h"
#include "tests/support/ppfixture.h"

using namespace clink;
using namespace clink::canctl;

namespace {

class SpiChipSim : public testsupport::PpFixture {
protected:
    void SetUp() override {
        PpFixture::SetUp();
        link.spi.ResetLineHigh();
    }
    bool messageWaiting() { return (link.spi.ReadRegister(CANINTF) & RX0IF) == 0; }
    // Clocks a whole instruction with chip select low, as raw bytes.
    void instruction(std::initializer_list<int> bytes) {
        link.spi.ChipSelectLow();
        for (int b : bytes)
            for (int n = 7; n >= 0; --n)
                link.spi.ClockOutBit(spi::GetBit(b, n));
        link.spi.ChipSelectHigh();
    }
};

} // namespace

TEST_F(SpiChipSim, BitModifyTakesEffectOnlyWhenComplete) {
    link.spi.WriteRegister(0xF0, BFPCTRL);
    instruction({InstrBitModify, BFPCTRL, 0x3C, 0x0F});
    EXPECT_EQ(chip.reg(BFPCTRL), 0xCC);
    instruction({InstrBitModify, BFPCTRL, 0xFF}); // chip select rose before the data byte
    EXPECT_EQ(chip.reg(BFPCTRL), 0xCC);
}

TEST_F(SpiChipSim, RisingChipSelectAbortsAWriteAndTheResetInstructionResets) {
    link.spi.WriteRegister(0x11, BFPCTRL);
    link.spi.ChipSelectLow();
    link.spi.SendWriteInstruction();
    for (int n = 7; n >= 0; --n)
        link.spi.ClockOutBit(spi::GetBit(BFPCTRL, n));
    for (int n = 7; n >= 4; --n) // half a data byte
        link.spi.ClockOutBit(1);
    link.spi.ChipSelectHigh();
    EXPECT_EQ(chip.reg(BFPCTRL), 0x11);

    configure(ids::ToolEepromReply);
    chip.clearCounters();
    instruction({InstrReset});
    EXPECT_EQ(chip.resets, 1);
    EXPECT_EQ(chip.mode(), ModeConfig);
    EXPECT_EQ(chip.reg(CANCTRL), 0x87);
    EXPECT_EQ(chip.reg(CNF1), 0);
}

TEST_F(SpiChipSim, SequentialWritesAndReadsAutoIncrementTheAddress) {
    instruction({InstrWrite, TXB0D0, 1, 2, 3});
    EXPECT_EQ(chip.reg(TXB0D0 + 2), 3);
    link.spi.ResetLineHigh();
    link.spi.ChipSelectLow();
    link.spi.SendReadInstruction();
    for (int n = 7; n >= 0; --n)
        link.spi.ClockOutBit(spi::GetBit(TXB0D0, n));
    EXPECT_EQ(link.spi.ClockInByte() ^ 0xFF, 1);
    EXPECT_EQ(link.spi.ClockInByte() ^ 0xFF, 2);
    EXPECT_EQ(link.spi.ClockInByte() ^ 0xFF, 3);
    link.spi.ChipSelectHigh();
}

TEST_F(SpiChipSim, StatusBroadcastEveryFourthIntfReadReachesAStatusFilter) {
    configure(ids::StatusBroadcast);
    chip.clearCounters();
    model.psetCount = 5;
    int polls = 0;
    while (!messageWaiting() && polls < 100)
        ++polls;
    EXPECT_EQ(chip.intfReads, 4);
    EXPECT_EQ(link.spi.ReadRegister(RXB0D0) ^ 0xFF, 0x10);
    EXPECT_EQ(link.spi.ReadRegister(RXB0D0 + 1) ^ 0xFF, 5);
    link.spi.WriteRegister(0, CANINTF);
    chip.broadcastEvery = 0;
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(messageWaiting());
    EXPECT_EQ(chip.delivered.size(), 1u);
}

TEST_F(SpiChipSim, ArmedEventsArriveAtTheNextIntfRead) {
    configure(ids::ToolReply);
    chip.broadcastEvery = 0;
    chip.armEvent({ids::ToolReply, {0x40, 1, 2, 3, 4, 5, 6, 7}});
    EXPECT_EQ(chip.busPending(), 0u);
    EXPECT_TRUE(messageWaiting());
    EXPECT_EQ(link.spi.ReadRegister(RXB0D0) ^ 0xFF, 0x40);
}

TEST_F(SpiChipSim, FramesWaitWhileTheReceiveBufferIsFullUnlessOverflowIsStrict) {
    configure(ids::ToolEepromReply);
    chip.broadcastEvery = 0;
    const CanMessage first{ids::ToolEepromReply, {0x30, 0, 1, 1}};
    const CanMessage second{ids::ToolEepromReply, {0x30, 0, 2, 2}};
    chip.emitSpontaneous(first);
    chip.emitSpontaneous(second);
    ASSERT_TRUE(messageWaiting());
    EXPECT_EQ(chip.busPending(), 1u);
    link.spi.WriteRegister(0, CANINTF); // the second one follows at once
    EXPECT_EQ(chip.delivered, (std::vector<CanMessage>{first, second}));

    link.spi.WriteRegister(0, CANINTF);
    chip.clearCounters();
    chip.strictOverflow = true;
    chip.emitSpontaneous(first);
    ASSERT_TRUE(messageWaiting());
    chip.emitSpontaneous(second);
    EXPECT_TRUE(messageWaiting());
    EXPECT_EQ(chip.lost, (std::vector<CanMessage>{second}));
    link.spi.WriteRegister(0, CANINTF);
    EXPECT_FALSE(messageWaiting());
}

TEST_F(SpiChipSim, ReplyLatencyCountsIntfReads) {
    configure(ids::ToolEepromReply);
    chip.broadcastEvery = 0;
    chip.replyLatency = 3;
    link.dataTx.SendCanMessage({ids::ToolEepromRequest, {0x90, 0, 4, 0, 0, 0, 0, 0}});
    EXPECT_FALSE(messageWaiting());
    EXPECT_FALSE(messageWaiting());
    EXPECT_FALSE(messageWaiting());
    EXPECT_TRUE(messageWaiting());
}

TEST_F(SpiChipSim, FramesSentWhileTheChipIsResetNeverArrive) {
    configure(ids::ToolEepromReply);
    chip.emitSpontaneous({ids::ToolEepromReply, {0x30}});
    link.spi.InitializePort(); // the controller is held in reset
    EXPECT_EQ(chip.busPending(), 0u);
    configure(ids::ToolEepromReply);
    chip.broadcastEvery = 0;
    EXPECT_FALSE(messageWaiting());
}

TEST_F(SpiChipSim, ExchangeLookReportsNothingTakenOrDiscarded) {
    configure(ids::ToolEepromReply);
    chip.broadcastEvery = 0;
    PpExchange pp(link);
    const PpMatcher code30 = [](PpRxMessage& m) { return m.bytesAre({0x30}); };
    EXPECT_EQ(pp.look(code30), PpExchange::Look::Nothing);
    chip.emitSpontaneous({ids::ToolEepromReply, {0x31}});
    EXPECT_EQ(pp.look(code30), PpExchange::Look::Discarded);
    chip.emitSpontaneous({ids::ToolEepromReply, {0x30}});
    EXPECT_EQ(pp.look(code30), PpExchange::Look::Taken);
    EXPECT_EQ(pp.look(code30), PpExchange::Look::Nothing);
    s.ConnectionType = TcpIp;
    chip.emitSpontaneous({ids::ToolEepromReply, {0x30}});
    EXPECT_EQ(pp.look(code30), PpExchange::Look::Nothing);
    EXPECT_FALSE(pp.run({.request = std::nullopt, .passes = 1, .polls = 5}, code30));
}

TEST_F(SpiChipSim, ExchangeOptionsYieldClearAndListen) {
    configure(ids::StatusBroadcast);
    PpExchange pp(link);
    chip.recordTrace = true;
    // Listen only: no request, a status broadcast on the fourth poll.
    int seen = 0;
    EXPECT_TRUE(pp.run({.request = std::nullopt,
                        .passes = 1,
                        .polls = pp.polls(10),
                        .yieldEachPass = false,
                        .yieldEachPoll = true},
                       [&](PpRxMessage& m) {
                           ++seen;
                           return m.byte(0) == 0x10;
                       }));
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(chip.transmitted.empty());
    // Clear before each send.
    chip.registerWrites.clear();
    EXPECT_FALSE(pp.run(
        {.request = CanMessage{ids::StatusRequest, {}}, .passes = 2, .polls = 0, .clearBeforeSend = true},
        [](PpRxMessage&) { return true; }));
    ASSERT_EQ(chip.registerWrites.size(), 2u * 16u);
    EXPECT_EQ(chip.registerWrites[0], (sim::SpiChip::RegisterWrite{CANINTF, 0}));
    EXPECT_EQ(chip.registerWrites[16], (sim::SpiChip::RegisterWrite{CANINTF, 0}));
    EXPECT_EQ(chip.transmitted.size(), 2u);
}

TEST_F(SpiChipSim, PollCountsAreClampedToSixteenBits) {
    PpExchange pp(link);
    s.TransferDelay = 8;
    EXPECT_EQ(pp.polls(70), 560);
    s.TransferDelay = 1000;
    EXPECT_EQ(pp.polls(70), 32767);
    s.TransferDelay = 100000000; // the product would not even fit 32 bits
    EXPECT_EQ(pp.polls(75), 32767);
}
