// The USB link's device set-up, frames, reads and status texts against the simulated converter.
#include "tests/support/usbfixture.h"

using namespace clink;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

const QByteArray ReadFrame0x0105 =
    "%CAN" +
    bytes({0x12, 0xEF, 0x06, 0x02, 0x10, 0xEF, 0x02, 0x01, 0x30, 0x01, 0x90, 0x01, 0x05, 0, 0, 0, 0, 0}) +
    "NAC%";

class UsbLink : public testsupport::UsbFixture {
protected:
    UsbRequest readRequest(int address) {
        const int hi = addressHigh(address);
        const int lo = addressLow(address);
        return {ids::ToolEepromReply, ids::ToolEepromRequest, {0x30, hi}, {0x90, hi, lo, 0, 0, 0, 0, 0}};
    }
    std::array<int, 8> rxData() const {
        std::array<int, 8> d{};
        std::copy_n(s.UsbRxBytes.begin(), 8, d.begin());
        return d;
    }
};

} // namespace

TEST(UsbFrame, ToolEepromReadOf0x0105IsTheExact26Bytes) {
    const auto frame = usbFrameBytes(
        {ids::ToolEepromReply, ids::ToolEepromRequest, {0x30, 0x01}, {0x90, 0x01, 0x05, 0, 0, 0, 0, 0}});
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->size(), USB::FrameSize);
    EXPECT_EQ(*frame, ReadFrame0x0105);
}

TEST(UsbFrame, ValuesOutsideAByteAreRefused) {
    EXPECT_FALSE(usbFrameBytes({ids::ToolEepromReply, ids::ToolEepromRequest, {0x30, 256}, {}}));
    EXPECT_FALSE(usbFrameBytes({ids::ToolEepromReply, ids::ToolEepromRequest, {}, {0x60, 0, 5, 300}}));
    EXPECT_FALSE(usbFrameBytes({ids::ToolEepromReply, ids::ToolEepromRequest, {}, {-1}}));
    EXPECT_TRUE(usbFrameBytes({ids::ToolEepromReply, ids::ToolEepromRequest, {255, 255}, {255}}));
    const auto filter = usbFrameBytes(usbFilterRequest(ids::ToolEepromReply));
    ASSERT_TRUE(filter);
    EXPECT_EQ(*filter, "%CAN" + bytes({0x12, 0xEF, 0x06, 0x02, 0x12, 0xEF, 0x06, 0x02}) +
                           QByteArray(10, '\0') + "NAC%");
}

TEST_F(UsbLink, SetUpGivesTheDongleItsLine) {
    EXPECT_EQ(device.baudRate, 19200);
    EXPECT_EQ(device.dataBits, FtBits8);
    EXPECT_EQ(device.stopBits, FtStopBits1);
    EXPECT_EQ(device.parity, FtParityNone);
    EXPECT_EQ(device.flowControl, FtFlowNone);
    EXPECT_EQ(device.readTimeoutMs, 500);
    EXPECT_EQ(device.writeTimeoutMs, 0);
    EXPECT_EQ(device.rxPurges, 1);
    EXPECT_EQ(link.usb.UsbSerialNumber, device.serialNumber());
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_EQ(link.usb.UsbStatus, FtOk);
}

TEST_F(UsbLink, SendWritesTheFrameAndTakesTheReplyData) {
    model.toolEeprom[0x0105] = 0x5A;
    ASSERT_TRUE(link.usb.SendCanFrame(readRequest(0x0105)));
    EXPECT_TRUE(s.UsbTransferOk);
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], ReadFrame0x0105);
    EXPECT_EQ(link.usb.UsbFrameText, ReadFrame0x0105);
    EXPECT_EQ(rxData(), (std::array<int, 8>{0x30, 0x01, 0x05, 0x5A, 0, 0, 0, 0}));
    EXPECT_EQ(link.usb.UsbReadBuffer,
              "\x12\xEF\x06\x02" + bytes({0x30, 0x01, 0x05, 0x5A, 0, 0, 0, 0}) + "NAC%");
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x90), 1);
}

TEST_F(UsbLink, NoReplyLeavesSpacesAndStillCountsAsATransfer) {
    // A filter frame is answered by nothing: the read times out with no bytes.
    s.UsbRxBytes.fill(7);
    EXPECT_TRUE(link.usb.SendFilterFrame(ids::ToolEepromReply));
    EXPECT_EQ(rxData(), (std::array<int, 8>{0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_EQ(link.usb.UsbReadBuffer, QByteArray(16, ' '));
}

TEST_F(UsbLink, AShortReadKeepsTheSpacesInTheMissingPositions) {
    device.replyLength = 6; // identifier, code and high byte only
    ASSERT_TRUE(link.usb.SendCanFrame(readRequest(0x0105)));
    EXPECT_EQ(rxData(), (std::array<int, 8>{0x30, 0x01, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
}

TEST_F(UsbLink, ALateReplyIsNotTakenForTheNextFrame) {
    model.toolEeprom[1] = 0x11;
    model.toolEeprom[2] = 0x22;
    device.lateReply = 1;
    ASSERT_TRUE(link.usb.SendCanFrame(readRequest(1)));
    EXPECT_EQ(s.UsbRxBytes[0], 0x20); // timed out; the reply comes in afterwards
    ASSERT_TRUE(link.usb.SendCanFrame(readRequest(2)));
    EXPECT_EQ(rxData(), (std::array<int, 8>{0x30, 0, 2, 0x22, 0, 0, 0, 0}));
    ASSERT_TRUE(link.usb.SendCanFrame(readRequest(1)));
    EXPECT_EQ(rxData(), (std::array<int, 8>{0x30, 0, 1, 0x11, 0, 0, 0, 0}));
}

TEST_F(UsbLink, AFailedWriteReopensTheDeviceAndIsNoSuccess) {
    const int opensBefore = device.opens;
    device.writeFails = 1;
    EXPECT_FALSE(link.usb.SendCanFrame(readRequest(5)));
    EXPECT_FALSE(s.UsbTransferOk);
    EXPECT_EQ(device.opens, opensBefore + 1);
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_TRUE(dialogs.messages.empty());
    // The device works again on the next frame.
    EXPECT_TRUE(link.usb.SendCanFrame(readRequest(5)));
    EXPECT_EQ(s.UsbRxBytes[2], 5);
}

TEST_F(UsbLink, AFailedReadIsRecordedWithoutAMessage) {
    device.readFails = 1;
    EXPECT_FALSE(link.usb.SendCanFrame(readRequest(5)));
    EXPECT_FALSE(s.UsbTransferOk);
    EXPECT_EQ(link.usb.UsbFailedStep, "Read Error");
    EXPECT_EQ(link.usb.UsbStatusText, "IO Error");
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(UsbLink, NoDeviceShowsTheSetUpBoxAndStopsEveryUsbPath) {
    device.noDevice = true;
    EXPECT_FALSE(link.usb.OpenDevice());
    EXPECT_EQ(link.usb.UsbFailedStep, "Open Failed");
    EXPECT_EQ(link.usb.UsbStatusText, "Device Not Found");
    EXPECT_TRUE(dialogs.messages.empty()); // an open failure is not shown

    EXPECT_FALSE(link.usb.ConfigureDevice());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Could not set up USB device. Make sure the USB Drivers are installed and "
              "\r\nUSB Candongle is connected.");
    EXPECT_EQ(dialogs.messages[0].caption, "Palverin2006");
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::None);
    EXPECT_TRUE(s.UsbFailed);
    EXPECT_EQ(link.usb.UsbFailedStep, "Set Baud Rate Failed");
    EXPECT_EQ(link.usb.UsbStatusText, "Invalid Handle");

    const size_t writes = device.writes.size();
    EXPECT_FALSE(link.usb.SendFilterFrame(ids::ToolEepromReply));
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(5, 1));
    EXPECT_EQ(device.writes.size(), writes);
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // The dongle is plugged in again: a reopen brings the link back.
    device.noDevice = false;
    EXPECT_TRUE(link.usb.ReopenDevice());
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_TRUE(link.dataTx.ReadToolEeprom(5));
}

TEST_F(UsbLink, EachSetUpStepNamesItsFailure) {
    const std::pair<const char*, const char*> steps[] = {
        {"setBaudRate", "Set Baud Rate Failed"},
        {"setDataCharacteristics", "Set Data Characteristics Failed"},
        {"setFlowControl", "Set Flow Control Failed"},
        {"setTimeouts", "Set Timeouts Failed"},
        {"purge", "Purge Failed"},
    };
    for (const auto& [call, text] : steps) {
        device.clearFailures();
        device.failStep(call, FtInvalidParameter);
        dialogs.messages.clear();
        EXPECT_FALSE(link.usb.ConfigureDevice()) << call;
        EXPECT_EQ(link.usb.UsbFailedStep, text);
        EXPECT_EQ(link.usb.UsbStatus, FtInvalidParameter);
        EXPECT_EQ(link.usb.UsbStatusText, "Invalid Parameter");
        EXPECT_TRUE(s.UsbFailed);
        EXPECT_EQ(dialogs.messages.size(), 1u) << call;
    }
    device.clearFailures();
    EXPECT_TRUE(link.usb.ConfigureDevice());
    EXPECT_FALSE(s.UsbFailed);
}

TEST_F(UsbLink, CloseFailureIsOnlyRecorded) {
    EXPECT_TRUE(link.usb.CloseDevice());
    EXPECT_FALSE(device.isOpen());
    EXPECT_FALSE(link.usb.CloseDevice());
    EXPECT_EQ(link.usb.UsbFailedStep, "Close Failed");
    EXPECT_EQ(link.usb.UsbStatusText, "Invalid Handle");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(UsbLink, StatusTextsCoverCodes0To17AndKeepTheTextOtherwise) {
    const char* texts[] = {"No Error",
                           "Invalid Handle",
                           "Device Not Found",
                           "Device Not Opened",
                           "IO Error",
                           "Insufficient Resources",
                           "Invalid Parameter",
                           "Invalid Baud Rate",
                           "Device Not Opened For Erase",
                           "Device Not Opened For Write",
                           "Failed To Write Device",
                           "EEPROM Read Failed",
                           "EEPROM Write Failed",
                           "EEPROM Erase Failed",
                           "EEPROM Not Present",
                           "EEPROM Not Programmed",
                           "Invalid Args",
                           "Other Error"};
    for (int code = 0; code <= FtOtherError; ++code) {
        link.usb.ShowFtStatus(code);
        EXPECT_EQ(link.usb.UsbStatusText, texts[code]);
    }
    link.usb.ShowFtStatus(18);
    EXPECT_EQ(link.usb.UsbStatusText, "Other Error");
    link.usb.ShowFtStatus(-1);
    EXPECT_EQ(link.usb.UsbStatusText, "Other Error");
}

TEST_F(UsbLink, TransactCountsTriesAndStopsOnTakenOrRefused) {
    int checks = 0;
    model.noReply.insert(ids::ToolEepromRequest);
    EXPECT_FALSE(link.usb.Transact(readRequest(3), 4, [&](const auto&) {
        ++checks;
        return UsbReply::Retry;
    }));
    EXPECT_EQ(device.frames.size(), 4u);
    EXPECT_EQ(checks, 4);

    model.noReply.clear();
    device.frames.clear();
    EXPECT_TRUE(link.usb.Transact(
        readRequest(3), 4, [](const auto& rx) { return rx[0] == 0x30 ? UsbReply::Taken : UsbReply::Retry; }));
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(device.frames.size(), 1u);

    device.frames.clear();
    EXPECT_FALSE(link.usb.Transact(readRequest(3), 4, [](const auto&) { return UsbReply::Refused; }));
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(device.frames.size(), 1u);

    // A failed read is a try, without a look at the reply.
    device.frames.clear();
    device.readFails = 2;
    checks = 0;
    EXPECT_TRUE(link.usb.Transact(readRequest(3), 4, [&](const auto&) {
        ++checks;
        return UsbReply::Taken;
    }));
    EXPECT_EQ(device.frames.size(), 3u);
    EXPECT_EQ(checks, 1);

    // A value outside a byte sends nothing.
    device.frames.clear();
    UsbRequest bad = readRequest(3);
    bad.data[3] = 256;
    EXPECT_FALSE(link.usb.Transact(bad, 4, [](const auto&) { return UsbReply::Taken; }));
    EXPECT_TRUE(device.frames.empty());
}
