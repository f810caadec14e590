// The connection window on the Ethernet link against the stand-in: the result texts, the lamp, the port box,
// and the save of the chosen link.
#include "app/settingsfiles.h"
#include "app/ui/frmmain.h"
#include "app/ui/frmsetconnection.h"
#include "tests/support/ui/appfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace clink;
using app::FrmSetConnection;

namespace {

class ConnectionWindow : public apptest::AppFixture {
protected:
    ConnectionWindow() { EXPECT_TRUE(dongle.listen(0)); }
    std::unique_ptr<FrmSetConnection> open() {
        auto w = std::make_unique<FrmSetConnection>(ctx, ctx.busy, [this] {
            saves << s.ConnectionType;
            return true;
        });
        w->show();
        QCoreApplication::processEvents(); // the link found is saved once the window shows
        return w;
    }
    template <class T> static T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    static QString settingsText(QWidget& w) { return child<QLabel>(w, "lblSettings")->text(); }

    QList<int> saves;
};

TEST_F(ConnectionWindow, PickEthernetTypeTheAddressAndConnect) {
    s.ConnectionType = ParallelPort;
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Set Controller Connection");
    EXPECT_EQ(child<QLabel>(*w, "lblConnection")->text(), "Current Connection:  Parallel Port");
    EXPECT_FALSE(child<QLineEdit>(*w, "txtConnName")->isVisible());
    EXPECT_EQ(saves, QList<int>{1}); // opening re-saves the link it found

    auto* list = child<QComboBox>(*w, "cboConnType");
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_TRUE(child<QLineEdit>(*w, "txtConnName")->isVisible());
    auto* address = child<QLineEdit>(*w, "txtConnName");
    address->setText(QStringLiteral("  127.0.0.1 "));
    auto* port = child<QLineEdit>(*w, "txtIPPort");
    port->clear();
    QTest::keyClicks(port, QString::number(dongle.port()));
    EXPECT_EQ(s.ControllerIpPort, QString::number(dongle.port())); // taken as typed
    QTest::mouseClick(child<QPushButton>(*w, "cmdSaveDefaults"), Qt::LeftButton);
    EXPECT_EQ(s.ControllerIpAddress, "127.0.0.1");
    EXPECT_EQ(child<QLabel>(*w, "lblSaved")->text(), "Connection Saved in Defaults");
    ASSERT_TRUE(waitFor([&] { return settingsText(*w).startsWith("Connection Established"); }));
    EXPECT_EQ(settingsText(*w), "Connection Established\r\n");
    EXPECT_TRUE(dongle.hasClient());
    EXPECT_EQ(child<QLabel>(*w, "lblConnection")->text(), "Current Connection:  TCP/IP");
    EXPECT_EQ(saves.last(), int(TcpIp));
    EXPECT_TRUE(child<QLabel>(*w, "circStatus")->styleSheet().contains("#00ff00"));
    // The saved text lasts until the next tick.
    w->Timer1_Timer();
    EXPECT_TRUE(child<QLabel>(*w, "lblSaved")->text().isEmpty());
}

TEST_F(ConnectionWindow, OpeningOnEthernetConnectsToTheStoredAddressAndPort) {
    useEthernet(dongle.port());
    auto w = open();
    EXPECT_EQ(child<QLineEdit>(*w, "txtIPPort")->text(), QString::number(dongle.port()));
    ASSERT_TRUE(waitFor([&] { return settingsText(*w) == "Connection Established\r\n"; }));
    EXPECT_EQ(saves, QList<int>{2});
}

TEST_F(ConnectionWindow, RefusedConnectionShowsTheNoConnectionTextAndRed) {
    useEthernet(refusedPort());
    auto w = open();
    ASSERT_TRUE(waitFor([&] { return ctx.link.socket.state() == EthernetLink::Error; }));
    w->Timer1_Timer();
    EXPECT_EQ(settingsText(*w), "No Connection to Controller\r\nCould Be Established\r\n");
    EXPECT_TRUE(child<QLabel>(*w, "circStatus")->styleSheet().contains("#ff0000"));
}

TEST_F(ConnectionWindow, PortBoxTakesOnly1To65535) {
    useEthernet(1100);
    auto w = open();
    auto* port = child<QLineEdit>(*w, "txtIPPort");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("70000"));
    EXPECT_EQ(port->text(), "7000");
    EXPECT_EQ(s.ControllerIpPort, "7000");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("0"));
    EXPECT_EQ(s.ControllerIpPort, "7000");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("x12"));
    EXPECT_EQ(s.ControllerIpPort, "12");
}

TEST_F(ConnectionWindow, TheMenusWindowSavesTheLinkInTheSettingsFile) {
    useEthernet(dongle.port());
    saveSettings();
    s.ConnectionType = ParallelPort;
    ctx.palverin.SaveIniFile();
    // As File > Controller Connection opens it: the main window's connection window saves through the
    // settings files.
    app::FrmMain main(ctx);
    QWidget* w = ctx.windows.create(app::wnd::frmSetConnection);
    ASSERT_NE(qobject_cast<FrmSetConnection*>(w), nullptr);
    auto* list = child<QComboBox>(*w, "cboConnType");
    list->setCurrentIndex(1);
    emit list->activated(1);
    ASSERT_TRUE(waitFor([&] { return settingsText(*w) == "Connection Established\r\n"; }));
    delete w;

    clink::LinkState loaded;
    app::AppSettings settings;
    const app::LineScrambler scrambler;
    app::SettingsFiles files(loaded, settings, *dialogs, scrambler);
    files.LoadIniFiles();
    EXPECT_EQ(loaded.ConnectionType, TcpIp);
    EXPECT_EQ(loaded.ControllerIpAddress, "127.0.0.1");
    EXPECT_EQ(loaded.ControllerIpPort, QString::number(dongle.port()));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ConnectionWindow, UsbIsTestedWithOneFrame) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    auto w = open();
    EXPECT_EQ(settingsText(*w), "USB Connection Established");
    ASSERT_EQ(ftdi.frames.size(), 1u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::ToolReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::ToolReply, {}}));
    EXPECT_EQ(child<QLabel>(*w, "lblConnection")->text(), "Current Connection:  USB");

    ftdi.writeFails = 1;
    ftdi.noDevice = true; // and the reopen after the failed write finds nothing
    w->cmdSaveDefaults_Click();
    EXPECT_EQ(settingsText(*w), "Unable to connect using USB");
    EXPECT_EQ(saves, (QList<int>{3, 3}));
}

TEST_F(ConnectionWindow, ParallelPortIsOpenedOnlyWhenChosenAnew) {
    useParallelPort();
    auto w = open(); // loaded with the parallel port: the port is not touched
    EXPECT_FALSE(chip.isOpen());
    EXPECT_TRUE(settingsText(*w).isEmpty());
    EXPECT_EQ(saves, QList<int>{1});

    s.ConnectionType = Usb;
    ctx.link.usb.setDevice(ftdi);
    auto fromUsb = open();
    auto* list = child<QComboBox>(*fromUsb, "cboConnType");
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_TRUE(chip.isOpen());
    EXPECT_EQ(settingsText(*fromUsb), "Parallel Connection Established");
    EXPECT_EQ(s.PortShadow, 0);
}

TEST_F(ConnectionWindow, ParallelPortThatCannotBeOpenedStaysChosen) {
    useEthernet(refusedPort());
    ctx.link.spi.usePort(chip);
    chip.portMissing = true;
    auto w = open();
    auto* list = child<QComboBox>(*w, "cboConnType");
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_EQ(settingsText(*w),
              "Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
    EXPECT_EQ(s.ConnectionType, ParallelPort);
    EXPECT_EQ(saves.last(), int(ParallelPort));
}

TEST_F(ConnectionWindow, NoLinkIsSavedWithoutATest) {
    s.ConnectionType = NoConnection;
    auto w = open();
    EXPECT_EQ(child<QLabel>(*w, "lblConnection")->text(), "Current Connection:  Not selected");
    EXPECT_EQ(saves, QList<int>{0});
    EXPECT_TRUE(settingsText(*w).isEmpty());
}

} // namespace

namespace {

TEST_F(ConnectionWindow, ItsTimerWaitsWhileACommandTalksToTheController) {
    useEthernet(dongle.port());
    auto w = open();
    ASSERT_TRUE(waitFor([&] { return ctx.link.socket.isConnected(); }));
    ctx.link.socket.close();
    {
        // The watch would dial the socket under the command: the tick waits.
        base::BusyGuard command(ctx.busy);
        w->Timer1_Timer();
        waitFor([] { return false; }, 50);
        EXPECT_EQ(ctx.link.socket.state(), EthernetLink::Closed);
    }
    w->Timer1_Timer();
    EXPECT_TRUE(waitFor([&] { return ctx.link.socket.isConnected(); }));
}

} // namespace
