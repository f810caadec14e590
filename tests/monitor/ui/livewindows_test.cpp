// The live monitor windows: opened by the main window's launchers with their set-up applied before they
// show, their timers rendering what the stand-in sends, their options and menus, closing during a waiting
// tick, the run screen's results grid, and the serial logger's window.
#include "app/ui/frmmain.h"
#include "base/serial/qtserialport.h"
#include "monitor/runscreenlog.h"
#include "monitor/seriallogger.h"
#include "monitor/ui/frmlogdata.h"
#include "monitor/ui/frmmonitor.h"
#include "monitor/ui/frmresults.h"
#include "monitor/ui/frmrunscreen1.h"
#include "monitor/ui/installwindows.h"
#include "tests/support/ptypair.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

namespace ids = clink::ids;
using sim::ControllerModel;

class LiveWindows : public apptest::AppFixture {
protected:
    LiveWindows() {
        monitor::installWindows(ctx);
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget* w) {
                             opened.append({name, w->windowTitle()});
                         });
    }
    ~LiveWindows() override {
        for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
            delete frame;
    }
    void trigger(const char* name) { main.action(QString::fromLatin1(name))->trigger(); }
    void useStandInChip() {
        connect(testsupport::Link::ParallelPort);
        chip.broadcastEvery = 0;
    }
    template <class W = QWidget> W* window(const QString& name) const {
        for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
            if (frame->widget()->objectName() == name)
                return qobject_cast<W*>(frame->widget());
        return nullptr;
    }

    app::FrmMain main{ctx};
    QList<std::pair<QString, QString>> opened; // name and caption as each window was shown
};

TEST_F(LiveWindows, LaunchersOpenTheMonitorWithItsModeSetBeforeItShows) {
    s.ConnectionType = clink::NoConnection;
    trigger("mnuFaultCodes");
    trigger("mnuMonitorRundowns");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0],
              std::pair(QStringLiteral("FrmMonitor"), QStringLiteral("Brenstal - Monitor Faults")));
    EXPECT_EQ(opened[1],
              std::pair(QStringLiteral("FrmMonitor"), QStringLiteral("Brenstal - Monitor Rundowns")));
    QList<monitor::FrmMonitor*> monitors;
    for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
        if (auto* m = qobject_cast<monitor::FrmMonitor*>(frame->widget()))
            monitors << m;
    ASSERT_EQ(monitors.size(), 2);
    EXPECT_TRUE(child<QTimer>(monitors[0], "Timer1")->isActive());
    EXPECT_FALSE(child<QTimer>(monitors[0], "Timer2")->isActive());
    EXPECT_TRUE(child<QTimer>(monitors[1], "Timer2")->isActive());
    EXPECT_EQ(child<QPushButton>(monitors[1], "Command1")->text(), "Command1");
    // Switched on with False, a monitor stays idle.
    monitor::FrmMonitor idle(ctx);
    idle.SetFaults(false);
    idle.SetRundown(false);
    EXPECT_FALSE(child<QTimer>(&idle, "Timer1")->isActive());
    EXPECT_FALSE(child<QTimer>(&idle, "Timer2")->isActive());
}

TEST_F(LiveWindows, FaultMonitorListsWhatTheControllerReportsAndExits) {
    useStandInChip();
    trigger("mnuFaultCodes");
    QPointer<monitor::FrmMonitor> w = window<monitor::FrmMonitor>("FrmMonitor");
    ASSERT_TRUE(w);
    chip.emitSpontaneous(ControllerModel::faultMessage(0x10, 0x21, 0x10));
    auto* list = child<QListWidget>(w, "List1");
    ASSERT_TRUE(waitFor([&] { return list->count() == 4; }));
    EXPECT_EQ(items(list), (QStringList{"---- Auto Reset Faults Received ----", "TID TIMEOUT", "TOOL GND",
                                        "ILLEGAL TOOL"}));
    EXPECT_EQ(child<QTimer>(w, "Timer1")->interval(), 250);
    child<QAction>(w, "mnuExit")->trigger();
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(LiveWindows, ClosingDuringAWaitingTickEndsTheTickWithoutTheWindow) {
    connectEthernet();
    trigger("mnuFaultCodes");
    QPointer<monitor::FrmMonitor> w = window<monitor::FrmMonitor>("FrmMonitor");
    ASSERT_TRUE(w);
    // The first tick waits for a report that never comes (51 filter frames, 30 ms apart); the window is
    // closed from inside that wait.
    int sentBeforeClose = -1;
    QTimer::singleShot(100, w, [&] {
        sentBeforeClose = filterFramesReceived(ids::ToolReply);
        app::closeWindow(w);
    });
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    QTest::qWait(200);
    EXPECT_GT(sentBeforeClose, 1);
    EXPECT_LE(filterFramesReceived(ids::ToolReply), sentBeforeClose + 1);
    // The closing frame went out.
    ASSERT_TRUE(waitFor([&] { return dongle.frames.back().accept == 0x10EF0103u; }));
}

TEST_F(LiveWindows, ButtonMonitorShowsTheButtonsOnItsTimer) {
    useStandInChip();
    model.buttons = {1, 0, 0, 5};
    trigger("mnuMonitorButtons");
    QWidget* w = window("FrmMonitorButtons");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Brenstal - Monitor Buttons");
    ASSERT_TRUE(waitFor([&] { return child<QLabel>(w, "lblButton0")->text() == "Cw: On"; }));
    EXPECT_EQ(child<QLabel>(w, "lblButton1")->text(), "Center: On");
    EXPECT_EQ(child<QLabel>(w, "lblButton2")->text(), "Ccw: Off");
    EXPECT_EQ(child<QLabel>(w, "lblButton3")->text(), "Trigger: Off");
}

TEST_F(LiveWindows, LedOptionsGoOutAndExitClosesAtTheNextTick) {
    useStandInChip();
    trigger("mnuLedstates");
    QPointer<QWidget> w = window("ToolLed");
    ASSERT_TRUE(w);
    EXPECT_TRUE(child<QRadioButton>(w, "optY_0")->isChecked());
    child<QRadioButton>(w, "optR_2")->click();
    child<QRadioButton>(w, "optB_1")->click();
    const auto sentLeds = [&] {
        std::array<int, 8> last{};
        for (const clink::CanMessage& m : model.received)
            if (m.id == ids::ToolEepromRequest && m.data[0] == 0x70)
                last = m.data;
        return last;
    };
    ASSERT_TRUE(waitFor([&] { return sentLeds() == std::array<int, 8>{0x70, 0, 2, 0, 1, 0, 0, 0}; }));
    ASSERT_TRUE(
        waitFor([&] { return child<QLineEdit>(w, "Text1")->text() == "Yellow: 0 Red: 2 Green: 0 Blue: 1"; }));
    child<QAction>(w, "mnuExit")->trigger();
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
}

TEST_F(LiveWindows, RunScreenShowsAResultAndItsLogInTheSharedGrid) {
    useStandInChip();
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
    trigger("mnuLumenquest");
    auto* w = window<monitor::frmRunScreen1>("frmRunScreen1");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Lumenquest");
    EXPECT_EQ(child<QLabel>(w, "lbl8")->text(), "Status: Drivers Started");
    EXPECT_TRUE(child<QTimer>(w, "RundownTimer")->isActive());
    for (const clink::CanMessage& m :
         model.rundownEvent({0, 120, 0, 150, 0, 90, 3, 21, 3, 132, 1, 194, 0, 85, 0x0C, 5, 3, 8}))
        chip.emitSpontaneous(m);
    ASSERT_TRUE(waitFor([&] { return child<QLabel>(w, "lbl7")->text() == "8.5"; }));
    EXPECT_EQ(child<QLabel>(w, "lbl4")->text(), "789");
    EXPECT_EQ(child<QLabel>(w, "lbl8")->text(), "Status: Tq Lo/Angle Hi");
    EXPECT_EQ(child<QLabel>(w, "lbl7")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(child<QLabel>(w, "lbl4")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(child<QLabel>(w, "Label2")->text(), "Deg");

    // View Rundowns twice: one grid, filled anew each time.
    child<QAction>(w, "mnuViewRundowns")->trigger();
    child<QAction>(w, "mnuViewRundowns")->trigger();
    auto* grid = window<monitor::frmResults>("frmResults");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->windowTitle(), "Rundown Results");
    const QList<QStringList> rows = grid->rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], monitor::RundownLogFile::Header);
    EXPECT_EQ(rows[1].mid(2),
              (QStringList{"8.5", "12", "15", "9", "789", "90", "45", "Tq Lo/Angle Hi", "Nm", "", "3"}));
    // Cleared: the heading stays and the grid's only row is empty.
    child<QAction>(w, "mnuClearRundowns")->trigger();
    child<QAction>(w, "mnuViewRundowns")->trigger();
    EXPECT_EQ(grid->rows(),
              (QList<QStringList>{monitor::RundownLogFile::Header, QStringList(13, QString())}));
    int grids = 0;
    for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
        grids += qobject_cast<monitor::frmResults*>(frame->widget()) ? 1 : 0;
    EXPECT_EQ(grids, 1);
    child<QAction>(w, "mnuClose")->trigger();
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(LiveWindows, SerialLoggerWindowShowsTheLastReportAndClosingIsExit) {
    testsupport::PtyPair nsm;
    ASSERT_TRUE(nsm.isOpen());
    QPointer<monitor::frmLogData> w =
        new monitor::frmLogData(ctx, std::make_unique<base::QtSerialPort>(), nsm.portPath());
    EXPECT_EQ(w->windowTitle(),
              "Nsm Rundown Data (RS-232)" + QString(73, u' ') + "Log File: C:\\FinalData.txt");
    EXPECT_TRUE(w->session().listening());
    ASSERT_TRUE(
        nsm.write("@\r\nSPINDLE 01:" + QByteArray(63, 'a') + "\r\n12@END\r\n@\r\nSPINDLE 02:ok\r\n13@END"));
    auto* list = child<QListWidget>(w, "List1");
    ASSERT_TRUE(waitFor([&] { return list->count() == 2 && list->item(0)->text() == "Rundown Number :13"; }));
    EXPECT_EQ(list->item(1)->text(), "SPINDLE 02:ok\r\n13@END");
    child<QAction>(w, "mnuViewLog")->trigger();
    ASSERT_EQ(textViewer->shown.size(), 1u);
    EXPECT_EQ(textViewer->shown[0].text.count("Rundown Number :"), 2);
    EXPECT_EQ(textViewer->shown[0].pointer, Qt::WaitCursor);
    w->close();
    EXPECT_FALSE(w->session().listening());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());

    // A device that cannot be opened: one box, the window stays idle.
    auto failing = std::make_unique<monitor::frmLogData>(ctx, std::make_unique<base::QtSerialPort>(),
                                                         QStringLiteral("/dev/palverin-no-such-port"));
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_FALSE(failing->session().listening());
}

} // namespace
