// The main window: its menu tree with design states and shortcuts, the window list, the busy state, the
// reconnect timer and File > Exit.
#include "app/ui/captionfit.h"
#include "app/ui/frmmain.h"
#include "app/ui/menutree.h"
#include "app/ui/windowregistry.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class MainWindow : public apptest::AppFixture {
protected:
    app::FrmMain main{ctx};
    QAction* action(const char* name) { return main.action(QString::fromLatin1(name)); }
};

TEST_F(MainWindow, EveryEntryIsAnActionNamedAfterItsMenuEntry) {
    int entries = 0;
    for (const app::MenuEntry& e : app::menuEntries()) {
        ++entries;
        QAction* a = main.findChild<QAction*>(QString::fromLatin1(e.name));
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromLatin1(e.caption)) << e.name;
    }
    EXPECT_EQ(entries, 80);
    QStringList top;
    for (QAction* a : main.menuBar()->actions())
        top << a->objectName();
    EXPECT_EQ(top, (QStringList{"mnuFile", "mnuTool", "mnuDsp", "mnuTransducer", "mnuSktTray",
                                "mnuDataLogger", "mnuNsm", "mnuSystem", "mnuPlotforge", "mnuPset",
                                "mnuLogicIo", "mnuDsm", "mnuStats", "mnuLumenquest", "mnuORVTEST"}));
    // Entries under their menus, in order.
    QStringList view;
    for (QAction* a : main.menu(QStringLiteral("mnuSysView"))->actions())
        view << a->objectName();
    EXPECT_EQ(view, (QStringList{"mnuReadSystemStatus", "mnuSystemReadRundownData",
                                 "mnuSystemReadParameterSets", "mnuSCCVersion"}));
}

TEST_F(MainWindow, DesignStatesOfHiddenAndDisabledEntries) {
    for (const char* name : {"mnuTransducer", "mnuDataLogger", "mnuDsm"}) {
        EXPECT_FALSE(action(name)->isVisible()) << name;
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    }
    for (const char* name : {"mnuToolTest", "mnuNsmClearRundown", "mnuORVTEST"})
        EXPECT_FALSE(action(name)->isVisible()) << name;
    for (const char* name :
         {"mnuXducerView", "mnuTrasnducerViewParameters", "mnuTransducerReadEeprom", "mnuXducerWrite",
          "mnuWriteTransducerParameters", "mnuWriteTransducerCalValue", "mnuWriteXducerEeprom",
          "mnuReadDataLoggerXducer", "mnuTerminal", "mnuBuildMatch"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    EXPECT_FALSE(action("mnuReadDataLoggerRoute")->isVisible());
    for (const char* name :
         {"mnuReadSystemStatus", "mnuCont_Conn", "mnuLogicIo", "mnuLumenquest", "mnuPset"}) {
        EXPECT_TRUE(action(name)->isVisible()) << name;
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    }
}

TEST_F(MainWindow, Shortcuts) {
    const std::pair<const char*, const char*> keys[] = {{"mnuReadToolEepromLocation", "Ctrl+R"},
                                                        {"mnuWriteToolEeprom", "Ctrl+W"},
                                                        {"mnuSetFactoryCalibration", "Ctrl+F"},
                                                        {"mnuDspRev", "F6"},
                                                        {"mnuCollectSettings", "Ctrl+S"},
                                                        {"mnuResetAll", "F5"},
                                                        {"mnuSCCVersion", "F7"}};
    for (const auto& [name, key] : keys)
        EXPECT_EQ(action(name)->shortcut(), QKeySequence(QString::fromLatin1(key))) << name;
    int withShortcut = 0;
    for (QAction* a : main.findChildren<QAction*>())
        withShortcut += a->shortcut().isEmpty() ? 0 : 1;
    EXPECT_EQ(withShortcut, 7);
}

TEST_F(MainWindow, SystemViewListsTheOpenWindows) {
    auto* one = new QWidget;
    one->setWindowTitle(QStringLiteral("First"));
    main.mdiArea()->addSubWindow(one)->show();
    QMenu* view = main.menu(QStringLiteral("mnuSysView"));
    emit view->aboutToShow();
    emit view->aboutToShow(); // twice: the list is rebuilt, not appended
    QStringList texts;
    for (QAction* a : view->actions())
        texts << a->text();
    EXPECT_EQ(texts.size(), 6);
    EXPECT_EQ(texts.last(), "&1 First");
}

TEST_F(MainWindow, BusyStateDisablesMenusAndWindowsExceptTheConnectionWindowAndShowsTheWaitCursor) {
    QMdiSubWindow* other = main.mdiArea()->addSubWindow(new QWidget);
    other->show();
    ctx.windows.open(app::wnd::frmSetConnection);
    QMdiSubWindow* connection = nullptr;
    for (QMdiSubWindow* w : main.mdiArea()->subWindowList())
        if (w->widget()->objectName() == "frmSetConnection")
            connection = w;
    ASSERT_NE(connection, nullptr);
    {
        base::BusyGuard busy(ctx.busy);
        ASSERT_TRUE(busy.acquired());
        EXPECT_FALSE(main.menuBar()->isEnabled());
        EXPECT_FALSE(other->isEnabled());
        // The connection window is the one that can mend a dead link: it stays usable.
        EXPECT_TRUE(connection->isEnabled());
        EXPECT_TRUE(main.isEnabled());
        EXPECT_EQ(testsupport::pointerShown(), Qt::WaitCursor);
        base::BusyGuard second(ctx.busy);
        EXPECT_FALSE(second.acquired());
    }
    EXPECT_TRUE(main.menuBar()->isEnabled());
    EXPECT_TRUE(other->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(ctx.busy.busy());
}

// The main window gone while the program is still busy (the process is ending): it takes back the wait
// cursor it set, and no cursor that others set.
class MainWindowGone : public apptest::AppFixture {};

TEST_F(MainWindowGone, TakesBackOnlyTheWaitCursorItSet) {
    auto main = std::make_unique<app::FrmMain>(ctx);
    {
        base::BusyGuard command(ctx.busy);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        main.reset();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // A test the user stops himself runs without the wait cursor: the cursor on top is someone else's.
    const QObject testWindow;
    main = std::make_unique<app::FrmMain>(ctx);
    QApplication::setOverrideCursor(Qt::CrossCursor);
    {
        base::BusyGuard run(ctx.busy, &testWindow);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        main.reset();
        EXPECT_EQ(testsupport::pointerShown(), Qt::CrossCursor);
    }
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, CtrlWReachesToolWriteEepromWhileAChildWindowHasTheFocus) {
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    auto* child = new QLineEdit;
    QMdiSubWindow* sub = main.mdiArea()->addSubWindow(child);
    sub->show();
    main.mdiArea()->setActiveSubWindow(sub);
    child->setFocus();
    QSignalSpy write(action("mnuWriteToolEeprom"), &QAction::triggered);
    // The command itself asks for its values first: the dialog is cancelled.
    valueEntry->answers.enqueue({app::ValueButton::Cancel, {}});
    QTest::keyClick(child, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(write.count(), 1);
    // The sub-window still closes with its other keys.
    for (QAction* a : sub->systemMenu()->actions())
        EXPECT_FALSE(a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W))) << a->text().toStdString();
}

TEST_F(MainWindow, AReportIsWideEnoughForItsLongestLineAndOnTopAfterItsCommand) {
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QMdiSubWindow* before = main.mdiArea()->addSubWindow(new QLineEdit);
    before->show();
    main.mdiArea()->setActiveSubWindow(before);
    const QString routeLine = QString(80, QLatin1Char('8'));
    {
        app::Report report = main.frame().newReport();
        report.add(QStringLiteral("short"));
        report.add(routeLine);
        report.show();
    }
    app::FrmOutput* output = main.frame().OutputWindow();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), output);
    // The whole line shows: no horizontal scrolling.
    auto* list = output->findChild<QListWidget*>(QStringLiteral("List1"));
    QCoreApplication::processEvents();
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    EXPECT_GE(list->viewport()->width(), QFontMetrics(list->font()).horizontalAdvance(routeLine));
}

TEST_F(MainWindow, SmallWindowsAreWideEnoughForTheirCaption) {
    main.show();
    QWidget* w = ctx.windows.open(app::wnd::frmMaybe);
    ASSERT_NE(w, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_GE(sub->width(), app::captionWidth(*sub));
    QDialog box;
    box.setWindowTitle(QStringLiteral("SEND NEW PARAMETER SET(S) TO CONTROLLER"));
    app::fitCaption(box);
    EXPECT_GE(box.width(), QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()));
}

TEST_F(MainWindow, ClosingWhileACommandWaitsEndsItAtOnceAndQuietly) {
    // A controller that does not answer: the status read would wait for seconds.
    model.noReply.insert(clink::ids::StatusRequest);
    connectEthernet();
    main.show();
    QTimer::singleShot(100, &main, [this] { main.close(); });
    QElapsedTimer t;
    t.start();
    action("mnuReadSystemStatus")->trigger();
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(ctx.pump.stopped());
    EXPECT_FALSE(main.isVisible());
    // No failure box, and the link is released once the command has ended.
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_FALSE(main.Timer1().isActive());
    // Every later wait ends at once too.
    t.restart();
    action("mnuReadSystemStatus")->trigger();
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(MainWindow, ReconnectTimerUsesTheStoredPort) {
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
    useEthernet(other.serverPort());
    EXPECT_EQ(main.Timer1().interval(), 25000);
    EXPECT_TRUE(main.Timer1().isActive());
    main.Timer1_Timer();
    EXPECT_TRUE(waitFor([&] { return ctx.link.socket.isConnected() && other.hasPendingConnections(); }));
    // Other links: the tick does nothing.
    ctx.link.socket.close();
    s.ConnectionType = clink::Usb;
    main.Timer1_Timer();
    EXPECT_EQ(ctx.link.socket.state(), clink::EthernetLink::Closed);
}

TEST_F(MainWindow, ExitClosesTheWindowAndStopsTheTimer) {
    main.show();
    action("mnuExit")->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(main.Timer1().isActive());
}

TEST_F(MainWindow, CaptionAndProgressBar) {
    EXPECT_EQ(app::mainWindowCaption(QStringLiteral("7.0.0")), " Brenstal Palverin 2006 7.0.0");
    EXPECT_EQ(main.Bar1()->objectName(), "Bar1");
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
}

} // namespace
