// The Tool menu's wiring in the main window on each link against the stand-in: a listing in a new report
// window, the calibration box with Bar1, the one-location reader opened after its check, and nothing while
// another command holds the program busy. The commands themselves are tested through their session.
#include "app/commands/toolcommands.h"
#include "app/ui/windowregistry.h"
#include "tests/app/ui/tooldspfixture.h"

#include <QProgressBar>

using namespace clink;
using apptest::Link;
using base::MessageIcon;

namespace {

class ToolCommandsOn : public testsupport::OnLink<apptest::ToolDspFixture> {
protected:
    // Over Ethernet a read is complete on the second matching answer; a controller that sends both at
    // once lets a thousand reads finish in a test's time.
    void answerTwice() { dongle.duplicateReplies = true; }
};

class ToolCommandsUsb : public apptest::ToolDspFixture {
protected:
    void SetUp() override { connect(Link::Usb); }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Links, ToolCommandsOn,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort), apptest::linkName);

TEST_P(ToolCommandsOn, AllEepromLocationsListsAddresses0To1024) {
    model.toolEeprom[17] = 255;
    answerTwice();
    trigger("mnuReadAllToolEeLocations");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    const QStringList lines = report();
    ASSERT_EQ(lines.size(), 1025);
    EXPECT_EQ(lines[17], QStringLiteral("Address 17: 255"));
    EXPECT_EQ(lines[1024], QStringLiteral("Address 1024: 255"));
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

namespace {
// Links on which an unanswered transaction gives up quickly (Ethernet retries for seconds).
class ToolFailuresOn : public testsupport::OnLink<apptest::ToolDspFixture> {};
} // namespace

INSTANTIATE_TEST_SUITE_P(Links, ToolFailuresOn, ::testing::Values(Link::Usb, Link::ParallelPort),
                         apptest::linkName);

TEST_P(ToolFailuresOn, OneFailedReadListsNothing) {
    model.silentAddresses = {1000};
    trigger("mnuReadAllToolEeLocations");
    EXPECT_EQ(messages(), QStringList{"Read Tool Eeprom Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(reportWindows(), 0);
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_P(ToolCommandsOn, CalValueShowsBothValues) {
    model.toolEeprom[45] = 16;
    model.toolEeprom[46] = 200;
    model.toolEeprom[47] = 0x88;
    model.toolEeprom[48] = 0x13;
    trigger("mnuCalValue");
    EXPECT_EQ(messages(), QStringList{"Current Cal Value: 51216  Factory Cal Value: 5000"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_EQ(main.Bar1()->maximum(), 48);
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
}

TEST_P(ToolCommandsOn, EepromLocationOpensTheReaderAfterTheCheck) {
    trigger("mnuReadToolEepromLocation");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_NE(ctx.windows.shared(app::wnd::frmValue2), nullptr);
}

TEST_F(ToolCommandsUsb, CalValueChecksWithoutReopenTheOthersReopen) {
    // One refused frame: Cal Value gives up, Eeprom Location reopens the device and goes on.
    ftdi.writeFails = 1;
    trigger("mnuCalValue");
    EXPECT_EQ(messages(), QStringList{"Unable to connect using USB"});
    ftdi.writeFails = 1;
    trigger("mnuReadToolEepromLocation");
    EXPECT_EQ(messages().size(), 1);
    EXPECT_NE(ctx.windows.shared(app::wnd::frmValue2), nullptr);
}

TEST_F(ToolCommandsUsb, NothingGoesOutWhileAnotherCommandHoldsTheProgramBusy) {
    expectNothingWhileBusy({"mnuCalValue", "mnuReadToolEepromLocation", "mnuReadAllToolEeLocations",
                            "mnuWriteToolEeprom", "mnuWriteToolId", "mnuResetToolCal",
                            "mnuSetFactoryCalibration", "mnuReadToolParameters"});
    EXPECT_EQ(ctx.windows.shared(app::wnd::frmValue2), nullptr);

    // Once it has ended, the same entry runs its command and shows its report.
    trigger("mnuReadToolParameters");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(reportWindows(), 1);
    EXPECT_EQ(report().size(), 120);
}
