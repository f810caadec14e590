// Start-up: settings loaded, the chosen link opened (Ethernet with its filter frame, the parallel port
// driven idle, the USB device set up), the connection window when the link cannot be had, the caption and
// the level-1 menus; the link released when the main window closes; the single-instance lock.
#include "app/ui/frmmain.h"
#include "app/ui/startup.h"
#include "link/usb.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLockFile>

using namespace clink;

namespace {

class Startup : public apptest::AppFixture {
protected:
    Startup() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
    }
    void start() { app::startProgram(ctx, main, QStringLiteral("1.0.0")); }
    bool visible(const char* name) { return main.action(QString::fromLatin1(name))->isVisible(); }
    bool enabled(const char* name) { return main.action(QString::fromLatin1(name))->isEnabled(); }

    app::FrmMain main{ctx};
    QStringList opened;
};

TEST_F(Startup, EthernetFromTheSettingsToTheStandIn) {
    ASSERT_TRUE(dongle.listen(0));
    useEthernet(dongle.port());
    saveSettings();
    s.ConnectionType = NoConnection; // what the settings file says counts
    start();
    EXPECT_EQ(s.ConnectionType, TcpIp);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), " Brenstal Palverin 2006 1.0.0");
    EXPECT_TRUE(ctx.link.socket.isConnected());
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::ConnectFilter) == 1; }));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(s.TransferDelay, 8); // from "delays.ini"
}

TEST_F(Startup, LevelOneMenus) {
    s.ConnectionType = NoConnection;
    saveSettings();
    start();
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 1);
    EXPECT_FALSE(ctx.palverin.access.TodaysPassword.isEmpty());
    for (const char* name :
         {"mnuEncryptToolFile", "mnuWriteDspEeprom", "mnuWriteToolEeprom", "mnuXducerWrite", "mnuWriteToolId",
          "mnuWriteToolParameters", "mnuReadAllToolEeLocations"}) {
        EXPECT_FALSE(enabled(name)) << name;
        EXPECT_TRUE(visible(name)) << name;
    }
    for (const char* name : {"mnuTempPassword", "mnuSetFactoryCalibration", "mnuNsm"})
        EXPECT_FALSE(visible(name)) << name;
    for (const char* name : {"mnuLogin", "mnuChangePassword", "mnuReadSystemStatus"}) {
        EXPECT_TRUE(visible(name)) << name;
        EXPECT_TRUE(enabled(name)) << name;
    }
}

TEST_F(Startup, AnUnreachableControllerOpensTheConnectionWindow) {
    useEthernet(refusedPort());
    saveSettings();
    start();
    EXPECT_EQ(opened, QStringList{"frmSetConnection"});
    EXPECT_TRUE(main.isVisible());
    // The filter frame went nowhere, and start-up did not complain.
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(Startup, NoLinkOpensNothing) {
    s.ConnectionType = NoConnection;
    saveSettings();
    app::startProgram(ctx, main, QStringLiteral("2.3.4"));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(main.windowTitle(), " Brenstal Palverin 2006 2.3.4");
}

TEST_F(Startup, ParallelPortIsDrivenIdleAndReleasedOnClosing) {
    useParallelPort();
    saveSettings();
    start();
    EXPECT_TRUE(chip.isOpen());
    EXPECT_EQ(s.PortShadow, 0);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(opened.isEmpty());
    main.close();
    EXPECT_FALSE(chip.isOpen());
}

TEST_F(Startup, ParallelPortThatCannotBeHadAsksForAnotherLink) {
    useParallelPort();
    chip.portMissing = true;
    saveSettings();
    start();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              "Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
    EXPECT_EQ(dialogs->messages[0].caption, "Connect Parallel Port");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::None);
    EXPECT_EQ(opened, QStringList{"frmSetConnection"});
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 1);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(Startup, UsbDeviceIsSetUpAndClosedByExit) {
    useUsb();
    saveSettings();
    start();
    EXPECT_TRUE(ftdi.isOpen());
    EXPECT_EQ(ftdi.baudRate, 19200);
    EXPECT_TRUE(dialogs->messages.empty());
    main.action(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(ftdi.isOpen());
    EXPECT_EQ(ftdi.closes, 1);
}

TEST_F(Startup, MissingUsbDeviceIsReportedAndStartGoesOn) {
    useUsb();
    ftdi.noDevice = true;
    saveSettings();
    start();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{clink::UsbSetupFailedText});
    EXPECT_TRUE(s.UsbFailed);
    EXPECT_TRUE(main.isVisible());
}

TEST(SingleInstance, ASecondLockOnTheSameProgramFolderFails) {
    testsupport::TempProgramFolder folder;
    const QString path = app::singleInstanceLockPath();
    QLockFile first(path);
    ASSERT_TRUE(first.tryLock(0));
    QLockFile second(path);
    EXPECT_FALSE(second.tryLock(0));
    {
        testsupport::TempProgramFolder other;
        EXPECT_NE(app::singleInstanceLockPath(), path);
    }
    first.unlock();
    EXPECT_TRUE(second.tryLock(0));
}

} // namespace
