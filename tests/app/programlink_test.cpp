// The program's link without windows: at the start the settings read, the level-1 access, and the link
// chosen opened on each link against the stand-in (the Ethernet connect filter frame, the parallel port
// driven idle, the USB device set up), with the one box a printer port that cannot be had shows and the
// quiet failures; a dropped socket dialled again; the link released at the end.
#include "app/programlink.h"
#include "link/usb.h"
#include "tests/support/servicesfixture.h"

using namespace clink;

namespace {

class ProgramLink : public testsupport::ServicesFixture {
protected:
    bool start() {
        app::ProgramLink link(ctx);
        link.prepare();
        return link.open();
    }
};

TEST_F(ProgramLink, EthernetFromTheSettingsToTheStandIn) {
    ASSERT_TRUE(dongle.listen(0));
    useEthernet(dongle.port());
    saveSettings();
    s.ConnectionType = NoConnection; // what the settings file says counts
    s.AckReceived = true;
    s.PortShadow = 0x40;
    ctx.palverin.access.AccessLevel = app::FactoryLevel;
    EXPECT_TRUE(start());
    EXPECT_EQ(s.ConnectionType, TcpIp);
    EXPECT_TRUE(ctx.link.socket.isConnected());
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::ConnectFilter) == 1; }));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(s.TransferDelay, 8); // from "delays.ini"
    EXPECT_FALSE(s.AckReceived);
    EXPECT_EQ(s.PortShadow, 0);
    EXPECT_EQ(ctx.palverin.access.AccessLevel, app::UserLevel);
    EXPECT_FALSE(ctx.palverin.access.TodaysPassword.isEmpty());
}

TEST_F(ProgramLink, AnUnreachableControllerAsksForAnotherLinkQuietly) {
    useEthernet(refusedPort());
    saveSettings();
    EXPECT_FALSE(start());
    EXPECT_FALSE(ctx.link.socket.isConnected());
    // The filter frame went nowhere, and start-up did not complain.
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(ctx.palverin.access.AccessLevel, app::UserLevel);
}

TEST_F(ProgramLink, NoLinkOpensNothing) {
    s.ConnectionType = NoConnection;
    saveSettings();
    EXPECT_TRUE(start());
    EXPECT_EQ(s.ConnectionType, NoConnection);
    EXPECT_FALSE(chip.isOpen());
    EXPECT_FALSE(ftdi.isOpen());
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(s.TransferDelay, 8);
}

TEST_F(ProgramLink, ParallelPortIsDrivenIdleOrAsksForAnotherLink) {
    useParallelPort();
    saveSettings();
    s.PortShadow = 0x55;
    EXPECT_TRUE(start());
    EXPECT_TRUE(chip.isOpen());
    EXPECT_EQ(s.PortShadow, 0);
    EXPECT_TRUE(dialogs->messages.empty());

    chip.close();
    chip.portMissing = true;
    EXPECT_FALSE(start());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              "Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
    EXPECT_EQ(dialogs->messages[0].caption, "Connect Parallel Port");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::None);
    EXPECT_EQ(ctx.palverin.access.AccessLevel, app::UserLevel);
}

TEST_F(ProgramLink, UsbDeviceIsSetUp) {
    useUsb();
    saveSettings();
    EXPECT_TRUE(start());
    EXPECT_TRUE(ftdi.isOpen());
    EXPECT_EQ(ftdi.baudRate, 19200);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_FALSE(s.UsbFailed);
}

TEST_F(ProgramLink, AMissingUsbDeviceIsReportedAndStartGoesOn) {
    useUsb();
    saveSettings();
    ftdi.noDevice = true;
    EXPECT_TRUE(start());
    EXPECT_EQ(dialogs->messageTexts(), QStringList{clink::UsbSetupFailedText});
    EXPECT_TRUE(s.UsbFailed);
}

TEST_F(ProgramLink, ADroppedSocketIsDialledAgainAndTheLinkIsReleasedAtTheEnd) {
    connectEthernet();
    ctx.link.socket.close();
    ASSERT_TRUE(waitFor([&] { return !ctx.link.socket.isConnected(); }));
    app::ProgramLink(ctx).keepConnected();
    EXPECT_TRUE(waitFor([&] { return ctx.link.socket.isConnected(); }));

    useParallelPort();
    ASSERT_TRUE(chip.open());
    app::ProgramLink(ctx).keepConnected(); // nothing to dial off Ethernet
    app::ProgramLink(ctx).release();
    EXPECT_FALSE(chip.isOpen());

    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    const int closes = ftdi.closes;
    app::ProgramLink(ctx).release();
    EXPECT_FALSE(ftdi.isOpen());
    EXPECT_EQ(ftdi.closes, closes + 1);
}

} // namespace
