// Start-up on the main window: the connection window when the link cannot be had, the caption and the
// level-1 menus; the link released when the main window closes; the single-instance lock. What start-up
// opens on each link and the boxes it shows are tested headless (programlink_test).
#include "app/ui/frmmain.h"
#include "app/ui/startup.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLabel>
#include <QLockFile>
#include <QPushButton>
#include <QTest>

using namespace clink;

namespace {

class Startup : public apptest::AppFixture {
protected:
    Startup() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
        dialogs->onMessage = [this](const auto&) {
            boxOverLevelOne << (main.isVisible() && !visible("mnuNsm"));
        };
    }
    void start() { app::startProgram(ctx, main, QStringLiteral("1.0.0")); }
    bool visible(const char* name) { return main.action(QString::fromLatin1(name))->isVisible(); }
    bool enabled(const char* name) { return main.action(QString::fromLatin1(name))->isEnabled(); }

    app::FrmMain main{ctx};
    QStringList opened;
    // For each box start-up showed: whether the main window stood under it with the menus of level 1.
    QList<bool> boxOverLevelOne;
};

TEST_F(Startup, EthernetFromTheSettingsShowsTheMainWindowOnly) {
    ASSERT_TRUE(dongle.listen(0));
    useEthernet(dongle.port());
    saveSettings();
    s.ConnectionType = NoConnection; // what the settings file says counts
    start();
    EXPECT_TRUE(ctx.link.socket.isConnected());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), " Brenstal Palverin 2006 1.0.0");
    EXPECT_TRUE(opened.isEmpty());
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

// Nothing listens where the settings point: the connection window opens in the shown main window at its
// full size (nothing of it squeezed to its title bar), Connect in view, the red lamp and the text saying no
// connection could be established.
TEST_F(Startup, AnUnreachableControllerOpensTheConnectionWindowWhole) {
    useEthernet(refusedPort());
    saveSettings();
    start();
    EXPECT_EQ(opened, QStringList{"frmSetConnection"});
    EXPECT_TRUE(main.isVisible());
    QWidget* w = ctx.windows.shared(app::wnd::frmSetConnection);
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_TRUE(w->isVisible());
    const QSize hint = w->sizeHint();
    EXPECT_GE(w->width(), hint.width()) << w->width() << " x " << w->height();
    EXPECT_GE(w->height(), hint.height()) << w->width() << " x " << w->height();
    const auto* connect = w->findChild<QPushButton*>(QStringLiteral("cmdSaveDefaults"));
    ASSERT_TRUE(connect);
    EXPECT_TRUE(connect->isVisible());
    EXPECT_TRUE(w->rect().contains(QRect(connect->mapTo(w, QPoint(0, 0)), connect->size())));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblSettings"))->text(),
              "No Connection to Controller\r\nCould Be Established\r\n");
    const auto* lamp = w->findChild<QLabel*>(QStringLiteral("circStatus"));
    EXPECT_TRUE(lamp->isVisible());
    EXPECT_TRUE(waitFor([&] { return lamp->styleSheet().contains(QStringLiteral("#ff0000")); }))
        << lamp->styleSheet().toStdString();
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
    EXPECT_TRUE(opened.isEmpty());
    main.close();
    EXPECT_FALSE(chip.isOpen());
}

// A damaged settings file, whose defaults choose the parallel port, on a machine where the port cannot be
// had: each box over the main window with the menus of level 1, then the connection window.
TEST_F(Startup, DamagedSettingsAndAParallelPortThatCannotBeHadAskForAnotherLink) {
    useParallelPort();
    chip.portMissing = true;
    ASSERT_TRUE(folder.write(QStringLiteral("Brenstal.ini"), "damaged\r\n"));
    start();
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Invalid OR Corrupt File",
                           "Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type"}));
    EXPECT_EQ(boxOverLevelOne, (QList<bool>{true, true}));
    EXPECT_EQ(opened, QStringList{"frmSetConnection"});
}

TEST_F(Startup, UsbDeviceIsSetUpAndClosedByExit) {
    useUsb();
    saveSettings();
    start();
    EXPECT_TRUE(ftdi.isOpen());
    main.action(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(ftdi.isOpen());
    EXPECT_EQ(ftdi.closes, 1);
}

TEST_F(Startup, MissingUsbDeviceOpensNoConnectionWindow) {
    useUsb();
    ftdi.noDevice = true;
    saveSettings();
    start();
    EXPECT_EQ(boxOverLevelOne, QList<bool>{true});
    EXPECT_TRUE(opened.isEmpty());
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
