// The window launchers: shared and new instances, what is set before showing, the link checks that keep a
// window closed, the progress bar around the editors and the logic-editor chooser.
#include "app/commands/launchers.h"
#include "app/ui/frmmain.h"
#include "app/ui/frmmaybe.h"
#include "app/ui/monitorwindow.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace clink;

namespace {

class FakeMonitor : public QWidget, public app::MonitorWindow {
public:
    void SetFaults(bool on) override {
        calls << QStringLiteral("SetFaults %1 shown=%2").arg(on).arg(isVisible());
    }
    void SetRundown(bool on) override {
        calls << QStringLiteral("SetRundown %1 shown=%2").arg(on).arg(isVisible());
    }
    QStringList calls;
};

class Launchers : public apptest::AppFixture {
protected:
    Launchers() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
    }
    void trigger(const char* name) { main.action(QString::fromLatin1(name))->trigger(); }
    app::WindowLaunchers& launchers() { return *main.group<app::WindowLaunchers>(); }
    int openWindows(const QString& title) {
        int n = 0;
        for (QMdiSubWindow* w : main.mdiArea()->subWindowList())
            n += w->widget()->windowTitle() == title ? 1 : 0;
        return n;
    }

    app::FrmMain main{ctx};
    QStringList opened;
};

TEST_F(Launchers, SharedWindowsOpenOnceNewWindowsEveryTime) {
    s.ConnectionType = NoConnection;
    trigger("mnuCollectSettings");
    trigger("mnuCollectSettings");
    trigger("mnuFaultCodes");
    trigger("mnuFaultCodes");
    trigger("mnuStats");
    EXPECT_EQ(opened, (QStringList{"FrmCollectSettings", "FrmCollectSettings", "FrmMonitor", "FrmMonitor",
                                   "frmStats"}));
    EXPECT_EQ(openWindows(QStringLiteral("FrmCollectSettings")), 1);
    EXPECT_EQ(openWindows(QStringLiteral("FrmMonitor")), 2);
    EXPECT_EQ(openWindows(QStringLiteral("frmStats")), 1);
}

TEST_F(Launchers, MonitorIsSetUpBeforeItIsShown) {
    s.ConnectionType = NoConnection;
    std::vector<FakeMonitor*> monitors;
    ctx.windows.provide(app::wnd::FrmMonitor, [&] {
        monitors.push_back(new FakeMonitor);
        return monitors.back();
    });
    trigger("mnuFaultCodes");
    trigger("mnuMonitorRundowns");
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(monitors[0]->calls, QStringList{"SetFaults 1 shown=0"});
    EXPECT_EQ(monitors[1]->calls, QStringList{"SetRundown 1 shown=0"});
}

TEST_F(Launchers, MonitorOpensAfterAnEthernetFailureButNotAfterOthers) {
    s.ConnectionType = TcpIp; // not connected
    trigger("mnuFaultCodes");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable to connect using ethernet"});
    EXPECT_EQ(opened, QStringList{"FrmMonitor"});
    s.ConnectionType = ParallelPort; // no dongle
    trigger("mnuMonitorRundowns");
    EXPECT_EQ(dialogs->messageTexts().last(), "Unable To Configure CanDongle");
    EXPECT_EQ(opened, QStringList{"FrmMonitor"});
}

TEST_F(Launchers, FailedChecksOpenNothing) {
    s.ConnectionType = TcpIp; // not connected
    trigger("mnuLedstates");
    trigger("mnuWriteTubeNut");
    trigger("mnuSerialOut");
    trigger("mnuLumenquest");
    trigger("mnuTestSocketTray");
    trigger("mnuMonitorButtons");
    EXPECT_EQ(dialogs->messages.size(), 6u);
    for (const auto& m : dialogs->messages)
        EXPECT_EQ(m.text, "Unable to connect using ethernet");
    s.ConnectionType = ParallelPort;
    trigger("mnuLedstates");
    EXPECT_EQ(dialogs->messageTexts().last(), "Unable To Configure Candongle");
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
}

TEST_F(Launchers, ChecksPassOnTheStandInAndSendTheirFilterFrames) {
    connectEthernet();
    trigger("mnuLedstates");
    trigger("mnuWriteTubeNut");
    trigger("mnuSerialOut");
    trigger("mnuLumenquest");
    trigger("mnuTestSocketTray");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(opened,
              (QStringList{"ToolLed", "frmTubeNut", "frmSerialOut", "frmRunScreen1", "FrmTestSocketTray"}));
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::Reply11EF0110) == 1; }));
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 1);     // Led States: 10EF0602 on Ethernet too
    EXPECT_EQ(filterFramesReceived(ids::ToolEepromReply), 1); // Tube Nut
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), 1);    // Lumenquest
    EXPECT_EQ(filterFramesReceived(ids::Reply13EF0110), 0);   // Socket Tray: connected state only
}

TEST_F(Launchers, ButtonStatesSendsTenRequestsThenShowsTheMonitor) {
    connectEthernet();
    trigger("mnuMonitorButtons");
    EXPECT_EQ(opened, QStringList{"FrmMonitorButtons"});
    ASSERT_TRUE(waitFor([&] { return model.countReceived(ids::ToolEepromRequest, 0x30) == 10; }));
    for (const auto& f : dongle.frames) {
        if (f.message.id == ids::ToolEepromRequest) {
            EXPECT_EQ(f.accept, ids::ButtonReply);
            EXPECT_EQ(f.message.data, (std::array<int, 8>{0x30, 0, 0, 0, 0, 0, 0, 0}));
        }
    }
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 0);
}

TEST_F(Launchers, ToolTestIsModalAfterTheDongleOnlyCheck) {
    QStringList modal;
    ctx.windows.setModalRunner([&](QWidget* w) {
        modal << w->windowTitle();
        w->close();
    });
    s.ConnectionType = NoConnection; // dongle-only check fails without a link
    launchers().mnuToolTest_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
    connectEthernet();
    launchers().mnuToolTest_Click();
    EXPECT_EQ(modal, QStringList{"frmTestTool"});
}

TEST_F(Launchers, EditorsHideTheProgressBarAndShowItAgainOnClosing) {
    main.show();
    trigger("mnuPset");
    EXPECT_FALSE(main.Bar1()->isVisible());
    QWidget* pset = ctx.windows.shared(app::wnd::frmPset);
    ASSERT_NE(pset, nullptr);
    app::closeWindow(pset);
    ASSERT_TRUE(waitFor([&] { return main.Bar1()->isVisible(); }));
    EXPECT_EQ(ctx.windows.shared(app::wnd::frmPset), nullptr);
    trigger("mnuPlotforge");
    EXPECT_FALSE(main.Bar1()->isVisible());
}

TEST_F(Launchers, ChooserOpensTheEditorAndCloses) {
    main.show();
    QWidget* chooser = ctx.windows.open(app::wnd::frmMaybe);
    auto* maybe = qobject_cast<app::FrmMaybe*>(chooser);
    ASSERT_NE(maybe, nullptr);
    EXPECT_EQ(chooser->parentWidget()->pos(), QPoint(0, 0));
    QStringList captions;
    for (auto* b : chooser->findChildren<QPushButton*>())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"Logic 2001", "Logic 2002", "Logic 2006", "Cancel"}));
    QPointer<QWidget> guard(chooser);
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdChoice_0")), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{"frmMaybe", "frmPLCIO"}));
    ASSERT_TRUE(waitFor([&] { return guard.isNull(); }));
    // Cancel closes it without opening anything.
    chooser = ctx.windows.open(app::wnd::frmMaybe);
    guard = chooser;
    qobject_cast<app::FrmMaybe*>(chooser)->cmdCancel_Click();
    ASSERT_TRUE(waitFor([&] { return guard.isNull(); }));
    EXPECT_EQ(opened.size(), 3);
}

} // namespace
