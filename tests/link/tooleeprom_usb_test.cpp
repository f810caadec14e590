// Tool EEPROM reads and writes over the USB link against the simulated dongle.
#include "tests/support/usbfixture.h"

using namespace clink;

namespace {
class ToolEepromUsb : public testsupport::UsbFixture {
protected:
    int requests(int code) const { return model.countReceived(ids::ToolEepromRequest, code); }
};
} // namespace

TEST_F(ToolEepromUsb, ReadOf0x0105SendsTheExactFrameAndAppendsTheValue) {
    model.toolEeprom[0x0105] = 0xC3;
    link.dataTx.ClearReceiveBuffer();
    s.DataCount = 4;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(0x0105));
    EXPECT_EQ(s.DataBuffer[4], 0xC3);
    EXPECT_EQ(s.DataCount, 5);
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 1);
    EXPECT_EQ(s.RequestData[2], 5);
    ASSERT_EQ(device.writes.size(), 1u);
    const char expected[] = "%CAN\x12\xEF\x06\x02\x10\xEF\x02\x01\x30\x01\x90\x01\x05\0\0\0\0\0NAC%";
    EXPECT_EQ(device.writes[0], QByteArray(expected, 26));
}

TEST_F(ToolEepromUsb, Write32AddressesAndReadThemBack) {
    for (int i = 0; i < 32; ++i) {
        const int address = 240 + i; // crosses the high-byte boundary at 256
        ASSERT_TRUE(link.dataTx.WriteToolEeprom(address, (i * 29 + 1) & 0xFF)) << address;
    }
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(model.toolEeprom[size_t(240 + i)], (i * 29 + 1) & 0xFF);
    EXPECT_EQ(requests(0x60), 32);
    // The write asks the dongle for the confirmation code and the high byte.
    EXPECT_EQ(device.frames.back().expected, (std::array<int, 2>{0x30, 1}));
    EXPECT_EQ(device.frames.back().message.data, (std::array<int, 8>{0x60, 1, 15, (31 * 29 + 1) & 0xFF}));

    link.dataTx.ClearReceiveBuffer();
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(link.dataTx.ReadToolEeprom(240 + i));
    EXPECT_EQ(s.DataCount, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(s.DataBuffer[i], (i * 29 + 1) & 0xFF);
    EXPECT_EQ(requests(0x90), 32);
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

TEST_F(ToolEepromUsb, AWrongValueConfirmationIsNotTaken) {
    model.wrongEcho = true;
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(7, 70));
    EXPECT_EQ(requests(0x60), 2);
    EXPECT_EQ(model.toolEeprom[7], 70);
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
