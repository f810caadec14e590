// The libftdi1 converter on a machine without the dongle: every call answers a status, nothing hangs.
#include "link/libftdidevice.h"
#include "tests/support/usbfixture.h"

using namespace clink;

namespace {
// True when a converter is attached to this machine (the checks below need none).
bool converterAttached() {
    LibFtdiDevice probe;
    QByteArray serial;
    return probe.listFirstSerial(serial) == FtOk;
}
} // namespace

TEST(LibFtdiDevice, WithoutADeviceEveryCallReportsAStatus) {
    if (converterAttached())
        GTEST_SKIP() << "a USB serial converter is attached";
    LibFtdiDevice dev;
    QByteArray serial = "stale";
    const FtStatus listed = dev.listFirstSerial(serial);
    EXPECT_NE(listed, FtOk);
    EXPECT_TRUE(serial.isEmpty());
    EXPECT_NE(dev.openBySerial("PV0001A"), FtOk);
    EXPECT_FALSE(dev.isOpen());
    int n = -1;
    char buffer[16];
    EXPECT_EQ(dev.setBaudRate(19200), FtInvalidHandle);
    EXPECT_EQ(dev.setDataCharacteristics(FtBits8, FtStopBits1, FtParityNone), FtInvalidHandle);
    EXPECT_EQ(dev.setFlowControl(FtFlowNone, 0, 0), FtInvalidHandle);
    EXPECT_EQ(dev.setTimeouts(500, 0), FtInvalidHandle);
    EXPECT_EQ(dev.purge(FtPurgeRx | FtPurgeTx), FtInvalidHandle);
    EXPECT_EQ(dev.write("x", n), FtInvalidHandle);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(dev.read(buffer, 16, n), FtInvalidHandle);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(dev.close(), FtInvalidHandle);
}

TEST(LibFtdiDevice, TheLinksOwnDeviceReportsNoDeviceThroughTheSetUpBox) {
    if (converterAttached())
        GTEST_SKIP() << "a USB serial converter is attached";
    base::QtEventPump pump;
    ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    ControllerLink link{pump, dialogs, clock};
    link.state.ConnectionType = Usb;
    EXPECT_FALSE(link.usb.OpenDevice());
    EXPECT_EQ(link.usb.UsbFailedStep, "Open Failed");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(link.usb.ConfigureDevice());
    EXPECT_TRUE(link.state.UsbFailed);
    EXPECT_EQ(link.usb.UsbFailedStep, "Set Baud Rate Failed");
    EXPECT_EQ(link.usb.UsbStatusText, "Invalid Handle");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, UsbSetupFailedText);
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.usb.CloseDevice());
}
