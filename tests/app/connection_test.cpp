// The connection window on the Ethernet link against the stand-in: the result texts, the lamp, the port box,
// and the save of the chosen link.
#include "link/frmsetconnection.h"
#include "tests/app/appfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace clink;

namespace {

class ConnectionWindow : public apptest::AppFixture {
protected:
    ConnectionWindow() { EXPECT_TRUE(dongle.listen(0)); }
    std::unique_ptr<FrmSetConnection> open() {
        auto w = std::make_unique<FrmSetConnection>(ctx.link, [this] { saves << s.ConnectionType; });
        w->show();
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

TEST_F(ConnectionWindow, NoLinkIsSavedWithoutATest) {
    s.ConnectionType = NoConnection;
    auto w = open();
    EXPECT_EQ(child<QLabel>(*w, "lblConnection")->text(), "Current Connection:  Not selected");
    EXPECT_EQ(saves, QList<int>{0});
    EXPECT_TRUE(settingsText(*w).isEmpty());
}

} // namespace
