// The Tool menu's EEPROM commands and the tool parameter report on each link against the stand-in.
#include "app/commands/toolcommands.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/ui/windowregistry.h"
#include "tests/app/ui/tooldspfixture.h"

#include <QProgressBar>

using namespace clink;
using apptest::Link;
using base::MessageIcon;

namespace {

class ToolCommandsOn : public apptest::ToolDspFixture, public ::testing::WithParamInterface<Link> {
protected:
    void SetUp() override { connect(GetParam()); }
    // Over Ethernet a read is complete on the second matching answer; a controller that sends both at
    // once lets a thousand reads finish in a test's time.
    void answerTwice() { dongle.duplicateReplies = true; }
};

class ToolCommandsUsb : public apptest::ToolDspFixture {
protected:
    void SetUp() override { connect(Link::Usb); }
};

using ToolCommands = apptest::ToolDspFixture;

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
class ToolFailuresOn : public apptest::ToolDspFixture, public ::testing::WithParamInterface<Link> {
protected:
    void SetUp() override { connect(GetParam()); }
};
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

TEST_P(ToolFailuresOn, CalValueNamesTheLocationThatFailed) {
    model.silentAddresses = {47};
    trigger("mnuCalValue");
    EXPECT_EQ(messages(), QStringList{"Read Cal Value Failed: Msg 3"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_P(ToolCommandsOn, WriteIdTakesTheByteOrderOfTheTool) {
    dialogs->yesNoAnswers << false << true;
    enterValue(4660);
    enterValue(4660);
    trigger("mnuWriteToolId");
    EXPECT_EQ(model.toolEeprom[2], 52);
    EXPECT_EQ(model.toolEeprom[3], 18);
    trigger("mnuWriteToolId");
    EXPECT_EQ(model.toolEeprom[3], 52);
    EXPECT_EQ(model.toolEeprom[2], 18);
    EXPECT_EQ(dialogs->questions, (QStringList{"Is The Tool A Pistol ?", "Is The Tool A Pistol ?"}));
    EXPECT_EQ(dialogs->asked[0].icon, base::MessageIcon::None);
    EXPECT_EQ(messages(), (QStringList{"Write Tool Id - Completed", "Write Tool Id - Completed"}));
    // The low byte is written first.
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{2, 52}, {3, 18}, {3, 52}, {2, 18}}));
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[0].prompt, QStringLiteral("Enter Tool Id"));
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 65535);
}

TEST_F(ToolCommandsUsb, WriteIdCancelledOrFailed) {
    dialogs->yesNoAnswers << false << false;
    cancelEntry();
    trigger("mnuWriteToolId");
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(messages().isEmpty());

    model.silentAddresses = {2};
    const uint8_t high = model.toolEeprom[3];
    enterValue(4660);
    trigger("mnuWriteToolId");
    EXPECT_EQ(messages(), QStringList{"Write Tool Id - Failed"});
    // Location 2 never confirmed its write: location 3 was not written.
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{2, 52}}));
    EXPECT_EQ(model.toolEeprom[3], high);
}

TEST_P(ToolCommandsOn, ResetToolCalibrationCopiesTheFactoryValue) {
    model.toolEeprom[45] = 1;
    model.toolEeprom[46] = 2;
    model.toolEeprom[47] = 0x34;
    model.toolEeprom[48] = 0x12;
    trigger("mnuResetToolCal");
    EXPECT_EQ(messages(), QStringList{"Tool Calibration Reset Complete"});
    EXPECT_EQ(model.toolEeprom[45], 0x34);
    EXPECT_EQ(model.toolEeprom[46], 0x12);
    EXPECT_FALSE(main.Bar1()->isVisibleTo(&main));
}

TEST_F(ToolCommandsUsb, SetFactoryCalibrationCopiesTheCalibrationValue) {
    model.toolEeprom[45] = 0x10;
    model.toolEeprom[46] = 0xC8;
    trigger("mnuSetFactoryCalibration");
    EXPECT_EQ(messages(), QStringList{"Tool Factory Calibration Set Complete"});
    EXPECT_EQ(model.toolEeprom[47], 0x10);
    EXPECT_EQ(model.toolEeprom[48], 0xC8);
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{47, 0x10}, {48, 0xC8}}));
}

TEST_P(ToolFailuresOn, ResetToolCalibrationStopsAtAFailedFirstWrite) {
    const uint8_t high = model.toolEeprom[46];
    model.silentAddresses = {45};
    trigger("mnuResetToolCal");
    EXPECT_EQ(messages(), QStringList{"Tool Calibration Reset Failed "});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    // Location 46 was never written: no half calibration value.
    for (const auto& [address, value] : toolWrites())
        EXPECT_NE(address, 46);
    EXPECT_EQ(model.toolEeprom[46], high);
}

TEST_P(ToolFailuresOn, ResetToolCalibrationReportsAFailedRead) {
    model.silentAddresses = {48};
    trigger("mnuResetToolCal");
    EXPECT_EQ(messages(), QStringList{"Read Cal Value Failed: Msg 4"});
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
}

TEST_P(ToolCommandsOn, WriteEepromLoopOffersTheNextAddress) {
    enterEeprom(10, 77);
    cancelEntry();
    trigger("mnuWriteToolEeprom");
    EXPECT_EQ(model.toolEeprom[10], 77);
    EXPECT_EQ(messages(), QStringList{"Write Tool Eeprom -> Completed (Add: 10 Data: 77)"});
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[0].panel, app::ValuePanel::Eeprom);
    EXPECT_EQ(valueEntry->shown[0].eepromTitle, QStringLiteral("Write Tool Eeprom"));
    EXPECT_EQ(valueEntry->shown[0].eeAddress.value, 0);
    EXPECT_EQ(valueEntry->shown[0].eeData.maximum, 255);
    EXPECT_EQ(valueEntry->shown[1].eeAddress.value, 11);
    EXPECT_EQ(valueEntry->shown[1].eeData.value, 0);
}

TEST_P(ToolFailuresOn, WriteEepromGoesOnAfterAFailureAndEndsAfter1023) {
    model.silentAddresses = {1022};
    enterEeprom(1022, 1);
    enterEeprom(1023, 2);
    trigger("mnuWriteToolEeprom");
    EXPECT_EQ(messages(), (QStringList{"Write Tool Eeprom -> Failed ",
                                       "Write Tool Eeprom -> Completed (Add: 1023 Data: 2)"}));
    EXPECT_EQ(model.toolEeprom[1023], 2);
    EXPECT_EQ(valueEntry->shown.size(), 2u); // no third dialog
    EXPECT_TRUE(valueEntry->answers.isEmpty());
}

TEST_F(ToolCommandsUsb, WriteEepromAtAddressZeroEndsTheLoop) {
    enterEeprom(0, 9);
    trigger("mnuWriteToolEeprom");
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(ToolCommandsOn, ParameterReportPrintsThe120Lines) {
    answerTwice();
    model.toolEeprom[31] = app::PistolModel;
    trigger("mnuReadToolParameters");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    DataBufferArray image;
    for (int a = 0; a < app::ToolReportLocations; ++a)
        image.put(a, model.toolEeprom[size_t(a)]);
    const QDateTime now = ctx.now();
    EXPECT_EQ(report(),
              app::makeToolParameterReport(app::reportTimeText(now), app::reportDateText(now), image));
    EXPECT_EQ(report().size(), 120);
    EXPECT_EQ(report()[4], QStringLiteral("TOOL ID: 258"));
    EXPECT_EQ(main.Bar1()->maximum(), 1024);
    EXPECT_EQ(main.Bar1()->value(), 0);
}

TEST_P(ToolFailuresOn, AFailureAtTheLastLocationPrintsNoReport) {
    model.silentAddresses = {1023};
    trigger("mnuReadToolParameters");
    EXPECT_EQ(messages(), QStringList{"Read Tool Parameters Failed"});
    EXPECT_EQ(reportWindows(), 0);
    EXPECT_FALSE(ctx.busy.busy());
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

TEST_F(ToolCommands, EthernetLinkCheckTexts) {
    useEthernet(refusedPort());
    trigger("mnuCalValue");
    trigger("mnuReadToolEepromLocation");
    trigger("mnuReadAllToolEeLocations");
    trigger("mnuResetToolCal");
    EXPECT_EQ(messages(),
              (QStringList{"Unable to Connect through Ethernet", "Unable to connect using Ethernet",
                           "Unable to connect using ethernet", "Unable to connect using ethernet"}));
}
