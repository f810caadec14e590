// Tool EEPROM reads and writes through the bit-banged SPI bus against the simulated CAN-controller chip.
#include "link/cancontroller.h"
#include "tests/support/ppfixture.h"

using namespace clink;

namespace {

class ToolEepromPp : public testsupport::PpFixture {
protected:
    void SetUp() override {
        PpFixture::SetUp();
        configure(ids::ToolEepromReply);
    }
    CanMessage reply(int code, int hi, int lo, int value) {
        return {ids::ToolEepromReply, {code, hi, lo, value}};
    }
};

} // namespace

TEST_F(ToolEepromPp, WritesAndReadsBack32AddressesThroughTheBitBangedBus) {
    for (int i = 0; i < 32; ++i) {
        const int address = 240 + i; // crosses the high-byte boundary at 256
        ASSERT_TRUE(link.dataTx.WriteToolEeprom(address, (i * 29 + 3) & 0xFF)) << address;
    }
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(model.toolEeprom[size_t(240 + i)], (i * 29 + 3) & 0xFF);
    link.dataTx.ClearReceiveBuffer();
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(link.dataTx.ReadToolEeprom(240 + i));
    EXPECT_EQ(s.DataCount, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(s.DataBuffer[i], model.toolEeprom[size_t(240 + i)]);
    // One request each: every reply came in the first pass.
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x60), 32);
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 32);
}

TEST_F(ToolEepromPp, RequestsCarryTheAddressBytes) {
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(0x0105));
    EXPECT_EQ(model.received.back(), (CanMessage{ids::ToolEepromRequest, {0x90, 0x01, 0x05, 0, 0, 0, 0, 0}}));
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(255, 0x3C));
    EXPECT_EQ(model.received.back(),
              (CanMessage{ids::ToolEepromRequest, {0x60, 0x00, 0xFF, 0x3C, 0, 0, 0, 0}}));
    EXPECT_EQ(model.toolEeprom[255], 0x3C);
    // The write stores nothing.
    EXPECT_EQ(s.DataCount, 1);
}

TEST_F(ToolEepromPp, OtherRepliesAreDiscardedAndPollingGoesOnInTheSamePass) {
    model.toolEeprom[0x0105] = 0x77;
    // Already on the bus before the request: another code, another address, another high byte.
    chip.emitSpontaneous(reply(0x31, 0x01, 0x05, 0x11));
    chip.emitSpontaneous(reply(0x30, 0x01, 0x06, 0x22));
    chip.emitSpontaneous(reply(0x30, 0x02, 0x05, 0x33));
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(0x0105));
    EXPECT_EQ(s.DataBuffer[0], 0x77);
    EXPECT_EQ(s.DataCount, 1);
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest), 1);
    EXPECT_EQ(chip.delivered.size(), 4u);
    // CANINTF was cleared after every message, taken or not.
    EXPECT_EQ(chip.reg(canctl::CANINTF) & canctl::RX0IF, 0);
}

TEST_F(ToolEepromPp, AWrongValueConfirmationIsNotTakenForTheWrite) {
    model.wrongEcho = true;
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(7, 70));
    // The first confirmation carried 71: the transaction polled on and re-sent in its next pass.
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x60), 2);
    EXPECT_EQ(model.toolEeprom[7], 70);
}

TEST_F(ToolEepromPp, ARepliesLateBeyondOnePassStillCompletes) {
    // Replies become visible only after more CANINTF reads than one pass polls (70 with TransferDelay 1).
    chip.replyLatency = 100;
    model.toolEeprom[9] = 0x99;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(9));
    EXPECT_EQ(s.DataBuffer[0], 0x99);
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 2);
    EXPECT_EQ(s.DataCount, 1);
}

TEST_F(ToolEepromPp, WithoutAnswerBothGiveUpAfterFiftyPasses) {
    model.noReply.insert(ids::ToolEepromRequest);
    link.dataTx.ClearReceiveBuffer();
    chip.clearCounters();
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(3));
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 50);
    // 70 CANINTF polls per pass with TransferDelay 1.
    EXPECT_EQ(chip.intfReads, 50 * 70);
    EXPECT_EQ(s.DataCount, 0);
    s.TransferDelay = 2;
    chip.clearCounters();
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(3, 1));
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x60), 50);
    EXPECT_EQ(chip.intfReads, 50 * 150);
}

TEST_F(ToolEepromPp, StatusBroadcastsOnTheBusAreFilteredOut) {
    chip.broadcastEvery = 1;
    model.noReply.insert(ids::ToolEepromRequest);
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(3));
    EXPECT_FALSE(chip.rejected.empty());
    EXPECT_EQ(chip.rejected.front().id, ids::StatusBroadcast);
    EXPECT_TRUE(chip.delivered.empty());
}

TEST_F(ToolEepromPp, AFullReceiveBufferTakesNoMoreValues) {
    s.DataCount = DataBufferArray::Size;
    model.received.clear();
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(3));
    EXPECT_EQ(s.DataCount, DataBufferArray::Size);
    EXPECT_TRUE(model.received.empty());
}

TEST_F(ToolEepromPp, OtherConnectionTypesTouchNoPort) {
    for (int16_t type : {NoConnection, Usb}) {
        s.ConnectionType = type;
        chip.clearCounters();
        EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
        EXPECT_FALSE(link.dataTx.ReadToolEeprom(3));
        EXPECT_FALSE(link.dataTx.WriteToolEeprom(3, 1));
        EXPECT_EQ(chip.portWrites + chip.portReads, 0);
    }
}
