// System > View over Ethernet against the stand-in: the status report, the Parameter Sets report, the SCC
// version box, and their failures; and the launchers that ask the controller's type first.
#include "app/commands/launchers.h"
#include "app/commands/systemcommands.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "app/ui/frmmain.h"
#include "link/commandcodes.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>

using namespace clink;

namespace {

// Pset layout as the controller holds it: torque control / angle monitor to 125.0 (120.0..130.0) in Nm,
// threshold 10, downshift 100, cycle complete 5, angle window 0..400.0, free speed 1500 and downshift
// 300 rpm, soft start and ergo on.
sim::ControllerModel::PsetBytes psetBytes(int pset, int units) {
    return {2, 0xE2, 0x04, 0x14, 0x05, 0xB0, 0x04, 1, 0x64, 0x00, 0xE8, 0x03, 0x32,  0x00,
            1, 0x00, 0x00, 0xA0, 0x0F, 0x00, 0x00, 1, 0x98, 0x3A, 0xB8, 0x0B, units, pset};
}

class SystemCommands : public apptest::AppFixture {
protected:
    SystemCommands() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
        ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
    }
    void SetUp() override { connectEthernet(); }
    void trigger(const char* name) { main.action(QString::fromLatin1(name))->trigger(); }
    QStringList report() {
        app::FrmOutput* w = main.frame().OutputWindow();
        return w ? w->lines() : QStringList();
    }
    int reportWindows() const { return int(main.mdiArea()->subWindowList().size()); }

    app::FrmMain main{ctx};
    QStringList opened;
};

TEST_F(SystemCommands, StatusPrintsTheFiveLines) {
    model.psetCount = 8;
    model.currentPset = 3;
    model.units = 5;
    model.target = 0x0929;
    trigger("mnuReadSystemStatus");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(
        report(),
        (QStringList{"--------- SYSTEM INFORMATION --------", "Number Of Parameter Sets: 8             ",
                     "Current Parameter Set: 3                ", "Units: Nm                               ",
                     "Current Target: 234.5                   "}));
    // A second report opens beside the first.
    trigger("mnuReadSystemStatus");
    EXPECT_EQ(reportWindows(), 2);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(SystemCommands, StatusFailureShowsTheBoxAndNoWindow) {
    s.ConnectionType = NoConnection;
    trigger("mnuReadSystemStatus");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Read System Status Failed"});
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(reportWindows(), 0);
}

TEST_F(SystemCommands, ParameterSetsReportForTwoPsets) {
    model.psetCount = 2;
    model.psets[1] = psetBytes(1, 5);
    model.psets[2] = psetBytes(2, 1);
    trigger("mnuSystemReadParameterSets");
    EXPECT_TRUE(dialogs->messages.empty());
    const QDateTime when = ctx.now();
    QStringList expected{"Company   : Brenstal", "File Data : Current Parameter Sets",
                         "Time      : " + app::reportTimeText(when),
                         "Date      : " + app::reportDateText(when)};
    for (int pset = 1; pset <= 2; ++pset) {
        expected << " " << QStringLiteral("-------- PARAMETER SET %1 --------").arg(pset)
                 << QStringLiteral("Parameter Set #: %1").arg(pset);
        for (const char* text :
             {pset == 1 ? "Units: Nm" : "Units: lb-in", "Strategy: Tq Control / Angle Monitor",
              "Torque Target: 125", "Torque Hi Limit: 130", "Torque Lo Limit: 120", "Torque Threshold: 10",
              "Torque Downshift: 100", "Torque Cycle Complete: 5", "Angle Target: 0", "Angle Hi Limit: 400",
              "Angle Lo Limit: 0", "Rpm Freespeed: 1500", "Rpm Downshift: 300", "Soft Start: Yes",
              "Ergo: Yes"})
            expected << QString::fromLatin1(text).leftJustified(40);
    }
    EXPECT_EQ(report(), expected);
    EXPECT_EQ(report().size(), 4 + 2 * 18);
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_EQ(main.Bar1()->maximum(), 10);
}

TEST_F(SystemCommands, NoPsetsGiveTheHeaderOnly) {
    model.psetCount = 0;
    trigger("mnuSystemReadParameterSets");
    EXPECT_EQ(report().size(), 4);
    EXPECT_EQ(reportWindows(), 1);
}

TEST_F(SystemCommands, AFailedPsetReadLeavesNoReportWindow) {
    model.psetCount = 11; // the report table ends at Pset 9
    trigger("mnuSystemReadParameterSets");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Read Parameter Sets Failed"});
    EXPECT_EQ(reportWindows(), 0);
    EXPECT_EQ(main.frame().OutputWindow(), nullptr); // the unshown window was deleted
    EXPECT_EQ(main.Bar1()->value(), 9);
    EXPECT_TRUE(main.menuBar()->isEnabled());
}

TEST_F(SystemCommands, SccVersionShowsTheRevision) {
    model.verMajor = 4;
    model.verMinor = 2;
    trigger("mnuSCCVersion");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "SCC Revision: 4.02");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->messages[0].caption, "Palverin2006");
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), 1);
    EXPECT_EQ(filterFramesReceived(ids::ConnectFilter), 1);
    EXPECT_EQ(reportWindows(), 0);
}

TEST_F(SystemCommands, SccVersionWithoutALinkFails) {
    s.ConnectionType = NoConnection;
    trigger("mnuSCCVersion");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Get SCC Revision Failed"});
}

TEST_F(SystemCommands, LogicIoPicksTheEditorByTheControllerType) {
    const std::pair<int, const char*> types[] = {
        {3, "frmPLCIO"}, {4, "frmLogicIo"}, {5, "frmLogicIoB"}, {6, "frmMaybe"}};
    for (const auto& [major, editor] : types) {
        model.verMajor = major;
        opened.clear();
        trigger("mnuLogicIo");
        EXPECT_EQ(opened, QStringList{editor}) << major;
    }
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), 4);
}

TEST_F(SystemCommands, LogicIoWithoutAControllerOpensTheChooser) {
    s.ConnectionType = NoConnection;
    trigger("mnuLogicIo");
    EXPECT_EQ(opened, QStringList{"frmMaybe"});
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SystemCommands, LogicIoWithASilentControllerOpensTheChooser) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.noReply.insert(ids::CommandRequest);
    trigger("mnuLogicIo");
    EXPECT_EQ(opened, QStringList{"frmMaybe"});
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SystemCommands, StatusAndVersionOverUsb) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.verMajor = 5;
    model.verMinor = 10;
    trigger("mnuSCCVersion");
    trigger("mnuReadSystemStatus");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"SCC Revision: 5.10"});
    EXPECT_EQ(report().value(1), "Number Of Parameter Sets: 8             ");
}

TEST_F(SystemCommands, LogicIoAfterAFailedLinkShowsTheBoxThenTheChooser) {
    useUsb();
    ftdi.noDevice = true;
    trigger("mnuLogicIo");
    EXPECT_TRUE(dialogs->messageTexts().contains("Unable to connect using USB"));
    EXPECT_EQ(opened, QStringList{"frmMaybe"});
}

TEST_F(SystemCommands, CalibrationNeedsTypeFour) {
    model.verMajor = 3;
    trigger("mnuCalibrateTool");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Calibrate Tool -> Incorrect Scc Version"});
    EXPECT_TRUE(opened.isEmpty());
    model.verMajor = 5;
    trigger("mnuCalibrateTool");
    EXPECT_EQ(opened, QStringList{"FormCalibration"});
}

TEST_F(SystemCommands, CalibrationOnAParallelPortWithoutDongleNamesTheAddress) {
    useParallelPort();
    chip.portMissing = true; // the port never opened: the dongle cannot be configured
    s.ControllerIpAddress = QStringLiteral("None");
    trigger("mnuCalibrateTool");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure None"});
    EXPECT_TRUE(opened.isEmpty());
}

// The hidden menu entry runs the USB dongle's test (system_commands_test) under the busy state.
TEST_F(SystemCommands, UsbTestMenuRunsTheDonglesTest) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.noReply.insert(ids::UsbTestRequest);
    trigger("mnuORVTEST");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"No Habla"});
    EXPECT_FALSE(ftdi.frames.empty());
    EXPECT_FALSE(ctx.busy.busy());
}

TEST(SystemReports, StatusLinesArePaddedTo40) {
    clink::SystemStatusRecord status;
    status.SystemStatusLines = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("d")};
    const QStringList lines = app::systemStatusReport(status);
    ASSERT_EQ(lines.size(), 5);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(lines[i].size(), 40);
}

} // namespace
