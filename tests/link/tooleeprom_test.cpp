// Tool EEPROM reads and writes on each link against the stand-in: over loopback TCP to its Ethernet dongle,
// through the bit-banged SPI bus to its CAN-controller chip, and over its simulated USB dongle. The cases
// every link shares run on each of them; the wire of each link has its own.
#include "link/cancontroller.h"
#include "tests/link/linkfixtures.h"

#include <QElapsedTimer>

#include <type_traits>

using namespace clink;

namespace {

template <class F> class ToolEeprom : public linktest::OnEachLink<F> {
protected:
    static constexpr bool Ethernet = std::is_same_v<F, testsupport::EthernetFixture>;
    static constexpr bool Usb = std::is_same_v<F, testsupport::UsbFixture>;

    void SetUp() override {
        linktest::OnEachLink<F>::SetUp();
        // The request counts below are one per read and write: on Ethernet, a controller that acknowledges
        // before it replies.
        if constexpr (Ethernet)
            this->dongle.ackThenReply = true;
    }

    int requests(int code) const { return this->model.countReceived(ids::ToolEepromRequest, code); }
};
TYPED_TEST_SUITE(ToolEeprom, linktest::LinkFixtures);

constexpr int Reads = 32;
constexpr int FirstAddress = 240; // the addresses cross the high-byte boundary at 256
int valueAt(int i) {
    return (i * 29 + 3) & 0xFF;
}

TYPED_TEST(ToolEeprom, WritesAndReadsBack32AddressesAcrossTheHighByte) {
    this->linkCheck(ids::ToolEepromReply);
    for (int i = 0; i < Reads; ++i)
        ASSERT_TRUE(this->tx().WriteToolEeprom(FirstAddress + i, valueAt(i))) << FirstAddress + i;
    for (int i = 0; i < Reads; ++i)
        EXPECT_EQ(this->model.toolEeprom[size_t(FirstAddress + i)], valueAt(i));
    // One request each (over Ethernet the dongle passes an acknowledgement and the confirmation).
    EXPECT_EQ(this->requests(0x60), Reads);
    if constexpr (TestFixture::Usb) {
        // The write asks the dongle for the confirmation code and the high byte.
        EXPECT_EQ(this->device.frames.back().expected, (std::array<int, 2>{0x30, 1}));
        EXPECT_EQ(this->device.frames.back().message.data, (std::array<int, 8>{0x60, 1, 15, valueAt(31)}));
    }

    this->model.received.clear();
    this->tx().ClearReceiveBuffer();
    for (int i = 0; i < Reads; ++i)
        ASSERT_TRUE(this->tx().ReadToolEeprom(FirstAddress + i));
    EXPECT_EQ(this->s.DataCount, Reads);
    for (int i = 0; i < Reads; ++i)
        EXPECT_EQ(this->s.DataBuffer[i], valueAt(i));
    // One request each: every reply came at once.
    EXPECT_EQ(this->requests(0x90), Reads);
}

TYPED_TEST(ToolEeprom, ReadAppendsTheValueAtTheCountAndAsksForTheAddress) {
    this->linkCheck(ids::ToolEepromReply);
    this->model.toolEeprom[0x0105] = 0xC3;
    this->tx().ClearReceiveBuffer();
    this->s.DataCount = 4;
    ASSERT_TRUE(this->tx().ReadToolEeprom(0x0105));
    EXPECT_EQ(this->s.DataBuffer[4], 0xC3);
    EXPECT_EQ(this->s.DataCount, 5);
    EXPECT_EQ(this->model.received.back(),
              (CanMessage{ids::ToolEepromRequest, {0x90, 0x01, 0x05, 0, 0, 0, 0, 0}}));
}

TYPED_TEST(ToolEeprom, AWrongValueConfirmationIsNotTakenForTheWrite) {
    this->linkCheck(ids::ToolEepromReply);
    this->model.wrongEcho = true;
    ASSERT_TRUE(this->tx().WriteToolEeprom(7, 70));
    EXPECT_EQ(this->model.toolEeprom[7], 70);
    // The wrong confirmation was ignored; the transaction asked again until the right one came.
    EXPECT_EQ(this->requests(0x60), 2);
}

// --- Ethernet ---

class ToolEepromEthernet : public testsupport::EthernetFixture {};

TEST_F(ToolEepromEthernet, ReadSendsTheFilterFrameThenTheRequest) {
    model.toolEeprom[5] = 0xA5;
    dongle.ackThenReply = true;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(5));
    EXPECT_EQ(s.DataBuffer[0], 0xA5);
    EXPECT_EQ(s.DataCount, 1);
    // One filter frame, then the request once: the dongle passes an acknowledgement and the reply.
    ASSERT_EQ(dongle.frames.size(), 2u);
    EXPECT_EQ(dongle.frames[0].accept, ids::ToolEepromReply);
    EXPECT_EQ(dongle.frames[0].message, (CanMessage{ids::ToolEepromReply, {}}));
    EXPECT_EQ(dongle.frames[1].message, (CanMessage{ids::ToolEepromRequest, {0x90, 0, 5, 0, 0, 0, 0, 0}}));
}

TEST_F(ToolEepromEthernet, ADroppedConnectionEndsTheReadWithFalse) {
    dongle.closeAfterReplies = 1;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.socket.isConnected());
    EXPECT_EQ(s.DataCount, 0);
    // The first send refused after the close ends the read: no further attempts, no more waits.
    EXPECT_LT(t.elapsed(), 1000);
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

// --- Parallel port ---

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

TEST_F(ToolEepromPp, TheWriteCarriesAddressAndValueAndStoresNothing) {
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(0x0105));
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(255, 0x3C));
    EXPECT_EQ(model.received.back(),
              (CanMessage{ids::ToolEepromRequest, {0x60, 0x00, 0xFF, 0x3C, 0, 0, 0, 0}}));
    EXPECT_EQ(model.toolEeprom[255], 0x3C);
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

// --- USB ---

class ToolEepromUsb : public testsupport::UsbFixture {
protected:
    int requests(int code) const { return model.countReceived(ids::ToolEepromRequest, code); }
};

TEST_F(ToolEepromUsb, ReadOf0x0105SendsTheExactFrameAndSetsTheEcho) {
    model.toolEeprom[0x0105] = 0xC3;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(0x0105));
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 1);
    EXPECT_EQ(s.RequestData[2], 5);
    ASSERT_EQ(device.writes.size(), 1u);
    const char expected[] = "%CAN\x12\xEF\x06\x02\x10\xEF\x02\x01\x30\x01\x90\x01\x05\0\0\0\0\0NAC%";
    EXPECT_EQ(device.writes[0], QByteArray(expected, 26));
}

TEST_F(ToolEepromUsb, AShortReplyIsRetriedAndTheReadFailsAfter11Tries) {
    device.replyLength = 6; // the reply stops after the high byte: the low byte reads as a space
    link.dataTx.ClearReceiveBuffer();
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(0x0105));
    EXPECT_EQ(requests(0x90), 11);
    EXPECT_EQ(s.UsbRxBytes[2], 0x20);
    EXPECT_EQ(s.DataCount, 0);
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ToolEepromUsb, AnUnconfirmedWriteStopsAfter11Tries) {
    device.replyLength = 7; // code and address arrive, the value reads as a space
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(7, 0x41));
    EXPECT_EQ(requests(0x60), 11);
    EXPECT_EQ(s.RequestData[3], 0x41);
}

TEST_F(ToolEepromUsb, AMissingReplyCostsATryAndTheNextTakesIt) {
    device.lateReply = 1;
    model.toolEeprom[300] = 0x3C;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(300));
    EXPECT_EQ(requests(0x90), 2);
    EXPECT_EQ(s.DataCount, 1);
    EXPECT_EQ(s.DataBuffer[0], 0x3C);
    // One read error and one write error on the way are tries too.
    device.readFails = 1;
    device.writeFails = 1;
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(300, 0x3D));
    EXPECT_EQ(model.toolEeprom[300], 0x3D);
    EXPECT_FALSE(s.UsbFailed);
}

TEST_F(ToolEepromUsb, AValueAboveAByteIsRefusedBeforeSending) {
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(7, 256));
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(ToolEepromUsb, AFullReceiveBufferEndsTheReadWithoutStoring) {
    s.DataCount = DataBufferArray::Size;
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_EQ(s.DataCount, DataBufferArray::Size);
    EXPECT_EQ(requests(0x90), 1);
}

TEST_F(ToolEepromUsb, AWriteErrorWhoseReopenFailsEndsTheWrite) {
    device.writeFails = 1;
    device.failStep("setBaudRate");
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(9, 1));
    EXPECT_TRUE(s.UsbFailed);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(device.writes.size(), 0u); // the one attempt failed; no further frame went out
}

} // namespace
