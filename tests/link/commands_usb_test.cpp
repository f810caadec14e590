// What is particular to USB: the test exchange, the frames, the tries of each transaction, and the
// failed device set-up that stops the sends.
#include "link/commandcodes.h"
#include "tests/support/usbfixture.h"

#include <algorithm>

using namespace clink;

namespace {

class CommandsUsb : public testsupport::UsbFixture {
protected:
    int sent(CanId id, int code) const {
        return int(
            std::count_if(device.frames.begin(), device.frames.end(), [&](const sim::FtdiSim::Frame& f) {
                return f.message.id == id && f.message.data[0] == code;
            }));
    }
};

QByteArray frameBytes(std::initializer_list<int> bytes) {
    QByteArray b("%CAN");
    for (int v : bytes)
        b += char(v);
    return b + "NAC%";
}

} // namespace

TEST_F(CommandsUsb, TheTestExchangeShowsTheReplyBytesOnWhateverLink) {
    s.ConnectionType = TcpIp;
    ASSERT_TRUE(link.dataTx.ShowDataArray());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "DataArray(0) = 1\r\nDataArray(1) = 2\r\nDataArray(2) = 3\r\n"
                                        "DataArray(3) = 4\r\nDataArray(4) = 5\r\nDataArray(5) = 6\r\n"
                                        "DataArray(6) = 7\r\nDataArray(7) = 8");
    EXPECT_EQ(dialogs.messages[0].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::None);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(s.DataBuffer[i], i + 1);
    EXPECT_EQ(device.writes.back(),
              frameBytes({0x10, 0x00, 0xDE, 0x20, 0x10, 0x00, 0x00, 0x00, 1, 2, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(CommandsUsb, RequestFramesNameTheReplyAndItsExpectedBytes) {
    ASSERT_TRUE(link.dataTx.ReadPsetBlock(3));
    EXPECT_EQ(device.writes[0], frameBytes({0x09, 0xEF, 0x08, 0x01, 0x15, 0xEF, 0x01, 0x03, 0x01, 0x00, 0x75,
                                            3, 1, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(device.writes.back(), frameBytes({0x15, 0xEF, 0x03, 0x01, 0x15, 0xEF, 0x03, 0x01, 0x10, 0x00, 0,
                                                0, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(link.dataTx.RequestCurveData(2, 300));
    EXPECT_EQ(device.writes.back(), frameBytes({0x13, 0xEF, 0x05, 0x06, 0x13, 0xEF, 0x06, 0x05, 0x20, 0x02,
                                                0x0F, 2, 0x2C, 0x01, 0, 0, 0, 0}));
}

TEST_F(CommandsUsb, SilenceEndsEachTransactionAfterItsTries) {
    model.noReply = {ids::StatusRequest, ids::CommandRequest, ids::CurveRequest, ids::CurveRequest2,
                     ids::UsbTestRequest};
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(sent(ids::StatusRequest, 0), 11);
    EXPECT_EQ(link.dataTx.SendSystemCommand(), 0);
    EXPECT_EQ(sent(ids::CommandRequest, 0xA0), 6);
    EXPECT_FALSE(link.dataTx.ReadSccVersion());
    EXPECT_EQ(sent(ids::CommandRequest, 0xA0), 6 + 11);
    EXPECT_FALSE(link.dataTx.SendControlCommand(codes::ResetLogicDefaults));
    EXPECT_EQ(sent(ids::CommandRequest, 0x63), 11);
    // A read that timed out leaves blanks: not the packet asked for, which ends the Pset read at once.
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(1));
    EXPECT_EQ(sent(ids::CommandRequest, 0x75), 1);
    EXPECT_FALSE(link.dataTx.SendPsetData({0x74, 1, 0, 0, 0, 0, 5, 1}));
    EXPECT_EQ(sent(ids::CommandRequest, 0x74), 11);
    EXPECT_FALSE(link.dataTx.SendLogicIoProgram(1));
    EXPECT_FALSE(link.dataTx.SendPlcProgram({0x61, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sent(ids::CommandRequest, 0x61), 22);
    EXPECT_FALSE(link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, 1));
    EXPECT_EQ(sent(ids::CommandRequest, 0x62), 11);
    EXPECT_FALSE(link.dataTx.RequestCurveData(1, 0));
    EXPECT_FALSE(link.dataTx.RequestCurveDataAlt(1, 0));
    EXPECT_EQ(sent(ids::CurveRequest, 0x0F), 11);
    EXPECT_EQ(sent(ids::CurveRequest2, 0x0F), 11);
    // No reply to the test frame is no reply, not a box of blanks.
    EXPECT_FALSE(link.dataTx.ShowDataArray());
    EXPECT_EQ(sent(ids::UsbTestRequest, 1), 11);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsUsb, AFailedDeviceSetUpStopsTheSendsUntilTheDeviceCanBeSetUpAgain) {
    // The dongle is still away: each transaction tries one set-up, quietly, and sends nothing.
    s.UsbFailed = true;
    device.noDevice = true;
    const size_t before = device.frames.size();
    EXPECT_FALSE(link.dataTx.SendLogicIoProgram(1));
    EXPECT_FALSE(link.dataTx.SendPsetData({0x71, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(device.frames.size(), before);
    EXPECT_TRUE(dialogs.messages.empty());
    // Back again: the set-up succeeds and the transaction goes on.
    device.noDevice = false;
    EXPECT_TRUE(link.dataTx.SendPsetData({0x71, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_EQ(device.frames.size(), before + 1);
}
