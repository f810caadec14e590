// Tool EEPROM reads and writes over real loopback TCP against the stand-in's Ethernet dongle.
#include "tests/support/ethernetfixture.h"

#include <QElapsedTimer>

using namespace clink;

namespace {
class ToolEepromEthernet : public testsupport::EthernetFixture {};
} // namespace

TEST_F(ToolEepromEthernet, ReadSendsTheExactFrameAndAdvancesTheCountByOne) {
    model.toolEeprom[5] = 0xA5;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(5));
    EXPECT_EQ(s.DataBuffer[0], 0xA5);
    EXPECT_EQ(s.DataCount, 1);
    // One filter frame, then the request twice: the first reply only acknowledges.
    ASSERT_GE(dongle.frames.size(), 3u);
    EXPECT_EQ(dongle.frames[0].accept, ids::ToolEepromReply);
    EXPECT_EQ(dongle.frames[0].message, (CanMessage{ids::ToolEepromReply, {}}));
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 2);
    EXPECT_EQ(dongle.frames[1].message, (CanMessage{ids::ToolEepromRequest, {0x90, 0, 5, 0, 0, 0, 0, 0}}));
}

TEST_F(ToolEepromEthernet, ReadAndWrite32AddressesWithOneReplyPerRequest) {
    link.dataTx.ClearReceiveBuffer();
    for (int i = 0; i < 32; ++i) {
        const int address = 250 + i; // crosses the high-byte boundary at 256
        ASSERT_TRUE(link.dataTx.WriteToolEeprom(address, (i * 13) & 0xFF)) << address;
    }
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(model.toolEeprom[size_t(250 + i)], (i * 13) & 0xFF);
    model.received.clear();
    link.dataTx.ClearReceiveBuffer();
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(link.dataTx.ReadToolEeprom(250 + i));
    EXPECT_EQ(s.DataCount, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(s.DataBuffer[i], (i * 13) & 0xFF);
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 64);
}

TEST_F(ToolEepromEthernet, DuplicatedRepliesStoreExactlyOnce) {
    dongle.duplicateReplies = true;
    link.dataTx.ClearReceiveBuffer();
    for (int a = 0; a < 32; ++a) {
        model.toolEeprom[size_t(a)] = uint8_t(a + 100);
        ASSERT_TRUE(link.dataTx.ReadToolEeprom(a));
    }
    EXPECT_EQ(s.DataCount, 32);
    for (int a = 0; a < 32; ++a)
        EXPECT_EQ(s.DataBuffer[a], a + 100);
    EXPECT_EQ(s.DataBuffer[32], 0);
    for (int a = 0; a < 32; ++a)
        ASSERT_TRUE(link.dataTx.WriteToolEeprom(a, 200 - a));
    for (int a = 0; a < 32; ++a)
        EXPECT_EQ(model.toolEeprom[size_t(a)], 200 - a);
}

TEST_F(ToolEepromEthernet, SplitAndCoalescedRepliesStillComplete) {
    dongle.splitBytes = true;
    link.dataTx.ClearReceiveBuffer();
    model.toolEeprom[300] = 9;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(300));
    dongle.splitBytes = false;
    dongle.splitBeforeLineEnd = true;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(300));
    EXPECT_EQ(s.DataBuffer[0], 9);
    EXPECT_EQ(s.DataBuffer[1], 9);
}

TEST_F(ToolEepromEthernet, AWrongValueConfirmationIsNotTakenForTheWrite) {
    model.wrongEcho = true;
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(7, 70));
    // The wrong confirmation was ignored; the transaction re-sent until the right one came twice.
    EXPECT_GE(model.countReceived(ids::ToolEepromRequest, 0x60), 3);
    EXPECT_EQ(model.toolEeprom[7], 70);
}

TEST_F(ToolEepromEthernet, ADroppedConnectionEndsTheReadWithFalse) {
    dongle.closeAfterReplies = 1;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.socket.isConnected());
    EXPECT_EQ(s.DataCount, 0);
    // Bounded: 501 attempts, each with its own sender wait.
    EXPECT_LT(t.elapsed(), 60000);
}

TEST_F(ToolEepromEthernet, NoConnectionTypeSendsNothing) {
    s.ConnectionType = NoConnection;
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(5, 1));
    EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
    waitFor([] { return false; }, 50);
    EXPECT_TRUE(dongle.frames.empty());
}

TEST_F(ToolEepromEthernet, LinkCheckFollowsTheSocket) {
    EXPECT_TRUE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
    link.socket.close();
    EXPECT_FALSE(link.dataTx.ConfigureCanDongle(ids::ToolEepromReply));
}
