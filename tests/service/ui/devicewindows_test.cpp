// The device windows as the main window opens them over the stand-in: their controls by name, a click that
// reaches the session and what the window then shows; the busy program around a running test, and closing
// a window while its test runs.
#include "app/commands/launchers.h"
#include "app/commands/nsmcommands.h"
#include "app/ui/frmmain.h"
#include "controls/ui/numedit.h"
#include "service/servicemodule.h"
#include "service/ui/formnsm.h"
#include "service/ui/frmresetall.h"
#include "service/ui/frmserialout.h"
#include "service/ui/frmtestsockettray.h"
#include "service/ui/frmtesttool.h"
#include "service/ui/installwindows.h"
#include "sim/trayemitter.h"
#include "tests/support/ui/appfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace clink;

namespace {

class DeviceWindows : public apptest::AppFixture {
protected:
    DeviceWindows() { service::installWindows(ctx, module); }

    app::WindowLaunchers& launchers() { return *main.group<app::WindowLaunchers>(); }
    template <class W> W* window(const char* name) const {
        for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
            if (frame->widget()->objectName() == QLatin1String(name))
                return qobject_cast<W*>(frame->widget());
        return nullptr;
    }
    int windows() const { return int(main.mdiArea()->subWindowList().size()); }
    // A click as the user makes it: refused while the button is disabled.
    static void click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        button->click();
    }

    service::ServiceModule module{
        ctx, std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat)};
    app::FrmMain main{ctx};
};

TEST_F(DeviceWindows, SerialOutShowsTheModeOnOpeningAndSetsTheChosenOne) {
    connect(testsupport::Link::ParallelPort);
    model.serialOut.mode = 2;
    launchers().mnuSerialOut_Click();
    auto* w = window<service::FrmSerialOut>("frmSerialOut");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Serial Out");
    EXPECT_EQ(child<QLabel>(w, "Label1")->text(), "Retrieve/Set Serial Out Option");
    auto* result = child<QLineEdit>(w, "txtResult");
    auto* list = child<QComboBox>(w, "cboSerOut");
    EXPECT_EQ(result->text(), "Standard Output w/LF & PSET Selected");
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_EQ(list->count(), 3);
    list->setCurrentIndex(1);
    click(child<QPushButton>(w, "cmdSet"));
    EXPECT_EQ(model.serialOut.mode, 1);
    EXPECT_EQ(result->text(), "Profibus Output Selected");
    // Each opening is a new window.
    launchers().mnuSerialOut_Click();
    EXPECT_EQ(windows(), 2);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DeviceWindows, ResetAllShowsDoneForTheItemsItResetUntilItsTimer) {
    connect(testsupport::Link::ParallelPort);
    model.toolEeprom[47] = 0x34;
    model.toolEeprom[48] = 0x12;
    launchers().mnuResetAll_Click();
    launchers().mnuResetAll_Click();
    EXPECT_EQ(windows(), 1);
    auto* w = window<service::FrmResetAll>("frmResetAll");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Reset All");
    QList<QLabel*> done;
    for (int i = 0; i < service::ResetItems; ++i)
        done << child<QLabel>(w, QStringLiteral("Label2_%1").arg(i));
    for (QLabel* label : done)
        EXPECT_FALSE(label->isVisibleTo(w));
    child<QCheckBox>(w, "chkToolCal")->setChecked(true);
    EXPECT_EQ(child<QCheckBox>(w, "chkResetDSP")->text(), "Reset DSP");
    click(child<QPushButton>(w, "cmdResetAll"));
    EXPECT_EQ(model.toolEeprom[45], 0x34);
    EXPECT_EQ(model.toolEeprom[46], 0x12);
    EXPECT_FALSE(done[0]->isVisibleTo(w));
    EXPECT_TRUE(done[3]->isVisibleTo(w));
    auto* timer = w->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10000);
    w->Timer1_Timer();
    EXPECT_FALSE(done[3]->isVisibleTo(w));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DeviceWindows, NsmWindowShowsTheSettingsReadAndTheUnitsClock) {
    connect(testsupport::Link::ParallelPort);
    model.nsmUnit.clock = {0x83, 7, 6, 14, 9};
    // Retries 3 is more than the field's usual range: the field keeps it.
    model.nsm = {0, 1, 3, 20, 4, 30, 0, 1, 0};
    main.group<app::NsmCommands>()->mnuNsmWriteSettings_Click();
    auto* w = window<service::FormNsm>("FormNsm");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Brenstal Nsm Settings");
    const auto field = [&](const char* name) { return child<controls::NumEdit>(w, QLatin1String(name)); };
    // 3:07 PM 6-14-09.
    EXPECT_EQ(field("CWTimeDate_0")->text(), "3");
    EXPECT_EQ(field("CWTimeDate_1")->text(), "07");
    EXPECT_TRUE(child<QRadioButton>(w, "optAmPm_1")->isChecked());
    EXPECT_EQ(field("CWTimeDate_2")->text(), "6");
    EXPECT_EQ(field("CWTimeDate_3")->text(), "14");
    EXPECT_EQ(field("CWTimeDate_4")->text(), "09");
    EXPECT_EQ(field("CWRetries")->value(), 3);
    EXPECT_EQ(field("CwSpindles")->value(), 4);
    EXPECT_TRUE(child<QRadioButton>(w, "optRev_1")->isChecked());
    // Item 7 "Collect Data" shows element 7 (location 7), item 8 "Run Commands" element 6 (location 8).
    EXPECT_TRUE(child<QRadioButton>(w, "optData_1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "optButtons_0")->isChecked());
    EXPECT_EQ(child<QGroupBox>(w, "Frames_4")->title(), "Number Of Spindles");

    field("CwSpindles")->setFocus();
    QTest::keyClick(field("CwSpindles"), Qt::Key_Up);
    click(child<QPushButton>(w, "Write_4"));
    EXPECT_EQ(model.nsm[4], 5);
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Number Of SpindlesWritten Successfully"});

    // 12 PM goes out as the hour byte 140.
    field("CWTimeDate_0")->setFocus();
    for (int up = 3; up < 12; ++up)
        QTest::keyClick(field("CWTimeDate_0"), Qt::Key_Up);
    click(child<QPushButton>(w, "Write_9"));
    EXPECT_EQ(model.nsmUnit.clock, (std::array<int, 5>{140, 7, 6, 14, 9}));
    EXPECT_EQ(dialogs->messageTexts().back(), "Time/Date Sent Successfully");
}

class SocketTrayWindow : public DeviceWindows {
protected:
    void SetUp() override {
        connectEthernet();
        model.socketTray = {true, 3, 5};
    }
    sim::TrayEmitter tray{model, dongle};
};

TEST_F(SocketTrayWindow, ShowsTheSocketOutAndTheLampsOnWhileTheProgramWaitsForStop) {
    launchers().mnuResetAll_Click();
    launchers().mnuTestSocketTray_Click();
    auto* w = window<service::FrmTestSocketTray>("FrmTestSocketTray");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Brenstal - Test Socket Tray");
    auto* list = child<QListWidget>(w, "List1");
    auto* run = child<QPushButton>(w, "btnRunTest");
    auto* stop = child<QPushButton>(w, "btnStopTest");
    EXPECT_EQ(items(list), QStringList{"Connect Socket Tray Then Press The Run Test Button"});
    EXPECT_FALSE(stop->isEnabled());

    click(run);
    ASSERT_TRUE(waitFor([&] { return list->count() > 2; }));
    const QStringList shown = items(list);
    EXPECT_EQ(shown.at(2), "Socket 3 : Out");
    EXPECT_EQ(shown.filter(" : Out").size(), 1);
    EXPECT_EQ(shown.filter(" : On"), (QStringList{"Socket 1 : On", "Socket 3 : On"}));
    EXPECT_EQ(shown.at(9), "Socket Value: 5");
    // The program is busy: the menus and the other windows wait, the test's window can be stopped.
    EXPECT_FALSE(main.menuBar()->isEnabled());
    EXPECT_FALSE(window<QWidget>("frmResetAll")->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(run->isEnabled());
    // The test waits for the user's Stop: no wait cursor.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    click(stop);
    ASSERT_TRUE(waitFor([&] { return !ctx.busy.busy(); }));
    EXPECT_EQ(items(list).last(), "Test Socket Tray Stopped");
    EXPECT_TRUE(main.menuBar()->isEnabled());
    EXPECT_TRUE(window<QWidget>("frmResetAll")->isEnabled());
    EXPECT_TRUE(run->isEnabled());
    // The dongle was turned away from the tray.
    EXPECT_TRUE(waitFor([&] { return dongle.frames.back().accept == ids::DspWriteRequest; }));
}

TEST_F(SocketTrayWindow, ClosingWhileTheTestRunsStopsItFirst) {
    launchers().mnuTestSocketTray_Click();
    QPointer<service::FrmTestSocketTray> w = window<service::FrmTestSocketTray>("FrmTestSocketTray");
    ASSERT_NE(w, nullptr);
    click(child<QPushButton>(w, "btnRunTest"));
    ASSERT_TRUE(ctx.busy.busy());
    app::closeWindow(w);
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_TRUE(main.menuBar()->isEnabled());
    EXPECT_EQ(windows(), 0);
}

TEST_F(DeviceWindows, ToolTestRunsItsCyclesInAModalDialogUntilClosed) {
    connect(testsupport::Link::ParallelPort);
    QPointer<service::FrmTestTool> dialog;
    ctx.windows.setModalRunner([&](QWidget* w) {
        dialog = qobject_cast<service::FrmTestTool*>(w);
        w->show();
    });
    launchers().mnuToolTest_Click();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Test Tool Cycle Counter");
    auto* list = child<QListWidget>(dialog, "List1");
    auto* start = child<QPushButton>(dialog, "Command2");
    auto* next = child<QPushButton>(dialog, "Command1");
    EXPECT_EQ(next->text(), "Continue ");
    EXPECT_FALSE(next->isEnabled());

    click(start);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    // The program stays busy for the test, which waits for the user's Continue without a wait cursor.
    EXPECT_TRUE(ctx.busy.busy());
    EXPECT_FALSE(main.menuBar()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(items(list).last(), "Cycle Power On The Controller And Press Continue When System Is Ready");
    click(next);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(items(list).last(), "Cycle Timer Started");
    ASSERT_TRUE(waitFor([&] { return items(list).contains("Cycle Cnt:2"); }, 10000));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_FALSE(start->isEnabled());

    dialog->close();
    ASSERT_TRUE(waitFor([&] { return dialog.isNull(); }));
    EXPECT_FALSE(ctx.busy.busy());
    const int cycles = model.toolCounter.endOfCycles;
    QTest::qWait(service::FrmTestTool::CycleIntervalMs * 2);
    EXPECT_EQ(model.toolCounter.endOfCycles, cycles);
}

} // namespace
