// The Tool menu's EEPROM commands and the tool parameter report on each link against the stand-in, run
// headless through their session.
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/sessions/toolsession.h"
#include "tests/app/commandfixture.h"

using namespace clink;
using base::MessageIcon;
using commandtest::Link;

namespace {

class ToolSessionOn : public testsupport::OnLink<commandtest::CommandFixture> {
protected:
    // Over Ethernet a read is complete on the second matching answer; a controller that sends both at
    // once lets a thousand reads finish in a test's time.
    void answerTwice() { dongle.duplicateReplies = true; }
    app::ToolSession tool{ctx, progress};
};

// Links on which an unanswered transaction gives up quickly (Ethernet retries for seconds).
class ToolFailuresOn : public ToolSessionOn {};

class ToolSessionUsb : public commandtest::CommandFixture {
protected:
    void SetUp() override { connect(Link::Usb); }
    app::ToolSession tool{ctx, progress};
};

class ToolSession : public commandtest::CommandFixture {
protected:
    app::ToolSession tool{ctx, progress};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Links, ToolSessionOn,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort),
                         commandtest::linkName);
INSTANTIATE_TEST_SUITE_P(Links, ToolFailuresOn, ::testing::Values(Link::Usb, Link::ParallelPort),
                         commandtest::linkName);

TEST_P(ToolSessionOn, AllEepromLocationsListsAddresses0To1024) {
    model.toolEeprom[17] = 255;
    answerTwice();
    const app::ReportLines lines = tool.mnuReadAllToolEeLocations();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 1025);
    EXPECT_EQ((*lines)[17], QStringLiteral("Address 17: 255"));
    EXPECT_EQ((*lines)[1024], QStringLiteral("Address 1024: 255"));
    EXPECT_EQ(progress.maximum, 1025);
    EXPECT_EQ(progress.value, 0);
    EXPECT_FALSE(progress.visible);
    // One value per location read, then back to 0.
    ASSERT_EQ(progress.values.size(), 1027u);
    EXPECT_EQ(progress.values[1025], 1024);
}

TEST_P(ToolFailuresOn, OneFailedReadListsNothing) {
    model.silentAddresses = {1000};
    EXPECT_FALSE(tool.mnuReadAllToolEeLocations());
    EXPECT_EQ(messages(), QStringList{"Read Tool Eeprom Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(progress.value, 0);
    EXPECT_EQ(progress.values.end()[-2], 999);
}

TEST_P(ToolSessionOn, CalValueShowsBothValues) {
    model.toolEeprom[45] = 16;
    model.toolEeprom[46] = 200;
    model.toolEeprom[47] = 0x88;
    model.toolEeprom[48] = 0x13;
    tool.mnuCalValue();
    EXPECT_EQ(messages(), QStringList{"Current Cal Value: 51216  Factory Cal Value: 5000"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_EQ(progress.maximum, 48);
    EXPECT_EQ(progress.value, 0);
    EXPECT_TRUE(progress.visible);
}

TEST_P(ToolFailuresOn, CalValueNamesTheLocationThatFailed) {
    model.silentAddresses = {47};
    tool.mnuCalValue();
    EXPECT_EQ(messages(), QStringList{"Read Cal Value Failed: Msg 3"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_P(ToolSessionOn, WriteIdTakesTheByteOrderOfTheTool) {
    dialogs->yesNoAnswers << false << true;
    valueEntry->enterValue(4660);
    valueEntry->enterValue(4660);
    tool.mnuWriteToolId();
    EXPECT_EQ(model.toolEeprom[2], 52);
    EXPECT_EQ(model.toolEeprom[3], 18);
    tool.mnuWriteToolId();
    EXPECT_EQ(model.toolEeprom[3], 52);
    EXPECT_EQ(model.toolEeprom[2], 18);
    EXPECT_EQ(dialogs->questions, (QStringList{"Is The Tool A Pistol ?", "Is The Tool A Pistol ?"}));
    EXPECT_EQ(dialogs->asked[0].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->asked[0].caption, base::ProgramTitle);
    EXPECT_EQ(messages(), (QStringList{"Write Tool Id - Completed", "Write Tool Id - Completed"}));
    // The low byte is written first.
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{2, 52}, {3, 18}, {3, 52}, {2, 18}}));
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[0].prompt, QStringLiteral("Enter Tool Id"));
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 65535);
}

TEST_F(ToolSessionUsb, WriteIdCancelledOrFailed) {
    dialogs->yesNoAnswers << false << false;
    valueEntry->cancel();
    tool.mnuWriteToolId();
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(messages().isEmpty());

    model.silentAddresses = {2};
    const uint8_t high = model.toolEeprom[3];
    valueEntry->enterValue(4660);
    tool.mnuWriteToolId();
    EXPECT_EQ(messages(), QStringList{"Write Tool Id - Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    // Location 2 never confirmed its write: location 3 was not written.
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{2, 52}}));
    EXPECT_EQ(model.toolEeprom[3], high);
}

TEST_P(ToolSessionOn, ResetToolCalibrationCopiesTheFactoryValue) {
    model.toolEeprom[45] = 1;
    model.toolEeprom[46] = 2;
    model.toolEeprom[47] = 0x34;
    model.toolEeprom[48] = 0x12;
    tool.mnuResetToolCal();
    EXPECT_EQ(messages(), QStringList{"Tool Calibration Reset Complete"});
    EXPECT_EQ(model.toolEeprom[45], 0x34);
    EXPECT_EQ(model.toolEeprom[46], 0x12);
    EXPECT_FALSE(progress.visible);
}

TEST_F(ToolSessionUsb, SetFactoryCalibrationCopiesTheCalibrationValue) {
    model.toolEeprom[45] = 0x10;
    model.toolEeprom[46] = 0xC8;
    tool.mnuSetFactoryCalibration();
    EXPECT_EQ(messages(), QStringList{"Tool Factory Calibration Set Complete"});
    EXPECT_EQ(model.toolEeprom[47], 0x10);
    EXPECT_EQ(model.toolEeprom[48], 0xC8);
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{47, 0x10}, {48, 0xC8}}));
}

TEST_P(ToolFailuresOn, ResetToolCalibrationStopsAtAFailedFirstWrite) {
    const uint8_t high = model.toolEeprom[46];
    model.silentAddresses = {45};
    tool.mnuResetToolCal();
    EXPECT_EQ(messages(), QStringList{"Tool Calibration Reset Failed "});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    // Location 46 was never written: no half calibration value.
    for (const auto& [address, value] : toolWrites())
        EXPECT_NE(address, 46);
    EXPECT_EQ(model.toolEeprom[46], high);
}

TEST_P(ToolFailuresOn, ResetToolCalibrationReportsAFailedRead) {
    model.silentAddresses = {48};
    tool.mnuResetToolCal();
    EXPECT_EQ(messages(), QStringList{"Read Cal Value Failed: Msg 4"});
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(progress.visible);
}

TEST_P(ToolSessionOn, WriteEepromLoopOffersTheNextAddress) {
    valueEntry->enterEeprom(10, 77);
    valueEntry->cancel();
    tool.mnuWriteToolEeprom();
    EXPECT_EQ(model.toolEeprom[10], 77);
    EXPECT_EQ(messages(), QStringList{"Write Tool Eeprom -> Completed (Add: 10 Data: 77)"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
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
    valueEntry->enterEeprom(1022, 1);
    valueEntry->enterEeprom(1023, 2);
    tool.mnuWriteToolEeprom();
    EXPECT_EQ(messages(), (QStringList{"Write Tool Eeprom -> Failed ",
                                       "Write Tool Eeprom -> Completed (Add: 1023 Data: 2)"}));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(model.toolEeprom[1023], 2);
    EXPECT_EQ(valueEntry->shown.size(), 2u); // no third dialog
    EXPECT_TRUE(valueEntry->answers.isEmpty());
}

TEST_F(ToolSessionUsb, WriteEepromAtAddressZeroEndsTheLoop) {
    valueEntry->enterEeprom(0, 9);
    tool.mnuWriteToolEeprom();
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(ToolSessionOn, ParameterReportPrintsThe120Lines) {
    answerTwice();
    model.toolEeprom[31] = app::PistolModel;
    const app::ReportLines lines = tool.mnuReadToolParameters();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    ASSERT_TRUE(lines);
    DataBufferArray image;
    for (int a = 0; a < app::ToolReportLocations; ++a)
        image.put(a, model.toolEeprom[size_t(a)]);
    const QDateTime now = ctx.now();
    EXPECT_EQ(*lines,
              app::makeToolParameterReport(app::reportTimeText(now), app::reportDateText(now), image));
    EXPECT_EQ(lines->size(), 120);
    EXPECT_EQ((*lines)[4], QStringLiteral("TOOL ID: 258"));
    EXPECT_EQ(progress.maximum, 1024);
    EXPECT_EQ(progress.value, 0);
    EXPECT_TRUE(progress.visible);
}

TEST_P(ToolFailuresOn, AFailureAtTheLastLocationPrintsNoReport) {
    model.silentAddresses = {1023};
    EXPECT_FALSE(tool.mnuReadToolParameters());
    EXPECT_EQ(messages(), QStringList{"Read Tool Parameters Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_P(ToolSessionOn, EepromLocationPassesItsCheckSilently) {
    EXPECT_TRUE(tool.mnuReadToolEepromLocation());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(ToolSessionUsb, CalValueChecksWithoutReopenTheOthersReopen) {
    // One refused frame: Cal Value gives up, Eeprom Location reopens the device and goes on.
    ftdi.writeFails = 1;
    tool.mnuCalValue();
    EXPECT_EQ(messages(), QStringList{"Unable to connect using USB"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    ftdi.writeFails = 1;
    EXPECT_TRUE(tool.mnuReadToolEepromLocation());
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(ToolSession, EthernetLinkCheckTexts) {
    useUnconnectedEthernet();
    tool.mnuCalValue();
    EXPECT_FALSE(tool.mnuReadToolEepromLocation());
    EXPECT_FALSE(tool.mnuReadAllToolEeLocations());
    tool.mnuResetToolCal();
    tool.mnuWriteToolId();
    EXPECT_FALSE(tool.mnuReadToolParameters());
    EXPECT_EQ(messages(),
              (QStringList{"Unable to Connect through Ethernet", "Unable to connect using Ethernet",
                           "Unable to connect using ethernet", "Unable to connect using ethernet",
                           "Unable to connect using ethernet", "Unable to connect using ethernet"}));
    // Nothing was asked and nothing went out.
    EXPECT_TRUE(dialogs->questions.isEmpty());
    EXPECT_TRUE(valueEntry->shown.empty());
    EXPECT_TRUE(model.received.empty());
}

TEST_P(ToolSessionOn, OneLocationReadShowsItsValueAndKeepsTheLocation) {
    model.toolEeprom[45] = 128;
    model.toolEeprom[1023] = 7;
    // The command that opens the reader checks the link first (on the parallel port: sets the dongle up).
    ASSERT_TRUE(tool.mnuReadToolEepromLocation());
    tool.readToolEepromLocation(45);
    tool.readToolEepromLocation(1023);
    EXPECT_EQ(messages(), (QStringList{"Eeprom Location 45 = 128", "Eeprom Location 1023 = 7"}));
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_EQ(ctx.values.results.ValueEntryResult, "1023");
    EXPECT_EQ(toolReads(), (std::vector<int>{45, 1023}));
}

TEST_P(ToolFailuresOn, OneLocationReadThatFailsShowsTheFailureBox) {
    model.silentAddresses = {3};
    ASSERT_TRUE(tool.mnuReadToolEepromLocation());
    tool.readToolEepromLocation(3);
    EXPECT_EQ(messages(), QStringList{"Read Tool Eeprom Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(ctx.values.results.ValueEntryResult, "3");
}
