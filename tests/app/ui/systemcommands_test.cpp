// System > View over Ethernet on the main window: the menus reach the System session (system_commands_test)
// and show its reports in windows and Bar1; the launchers that ask the controller's type open their window.
#include "app/commands/launchers.h"
#include "app/commands/systemcommands.h"
#include "app/reports/systemreports.h"
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

TEST_F(SystemCommands, ParameterSetsReportShowsInAWindowAndDrivesBar1) {
    model.psetCount = 2;
    trigger("mnuSystemReadParameterSets");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(report().size(), 4 + 2 * 18);
    EXPECT_EQ(report().value(5), "-------- PARAMETER SET 1 --------");
    EXPECT_EQ(reportWindows(), 1);
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_EQ(main.Bar1()->maximum(), 10);
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
    // The box as the session shows it (its caption, icon and frames are the session's cases), no report.
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"SCC Revision: 4.02"});
    EXPECT_EQ(reportWindows(), 0);
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
