// The Dsp menu's commands and the tool's RPM and diagnostics headless through their session, on each link
// against the stand-in: the words read and written, the editor's and the report's blocks, the raw frame
// that ends a report's reads, and the revision the tool commands need.
#include "app/reports/dspreport.h"
#include "app/reporttime.h"
#include "app/sessions/dspsession.h"
#include "link/cancontroller.h"
#include "tests/app/commandfixture.h"
#include "tests/support/waitfor.h"

using namespace clink;
using base::MessageIcon;
using commandtest::Link;
using testsupport::waitFor;

namespace {

class DspSessionOn : public testsupport::OnLink<commandtest::CommandFixture> {
protected:
    void setWord(int address, int value) {
        model.dspBytes[size_t(address)] = uint8_t(value & 0xFF);
        model.dspBytes[size_t(address + 1)] = uint8_t(value >> 8);
    }
    app::DspSession dsp{ctx, progress};
};

// Links on which an unanswered transaction gives up quickly.
class DspFailuresOn : public DspSessionOn {};

class DspSession : public commandtest::CommandFixture {
protected:
    app::DspSession dsp{ctx, progress};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Links, DspSessionOn,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort),
                         commandtest::linkName);
INSTANTIATE_TEST_SUITE_P(Links, DspFailuresOn, ::testing::Values(Link::Usb, Link::ParallelPort),
                         commandtest::linkName);

// On the parallel port the dongle is still in its configuration mode, as start-up leaves it.
TEST_P(DspSessionOn, ResetRestoresTheDefaults) {
    const auto defaults = model.dspDefaults;
    setWord(10, 0x1234);
    dsp.mnuDspResetToDefaults();
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_EQ(model.dspResets, 1);
    EXPECT_EQ(model.dspBytes, defaults);
    EXPECT_EQ(model.received.back(), (CanMessage{ids::DspWriteRequest, {0x0B, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(DspSession, ResetThatWasNotSentIsReportedAsFailed) {
    useUnconnectedEthernet();
    dsp.mnuDspResetToDefaults();
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);

    // A parallel-port dongle that never leaves its configuration mode sends nothing.
    dialogs->messages.clear();
    connect(Link::ParallelPort);
    chip.stuckConfigMode = true;
    dsp.mnuDspResetToDefaults();
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults Failed"});
    EXPECT_EQ(model.dspResets, 0);

    dialogs->messages.clear();
    s.ConnectionType = NoConnection;
    dsp.mnuDspResetToDefaults();
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(DspSessionOn, RevisionShowsMajorAndTwoDigitMinor) {
    model.dspRevisionMajor = 2;
    model.dspRevisionMinor = 5;
    dsp.mnuDspRev();
    EXPECT_EQ(messages(), QStringList{"Dsp Software Revision : 2.05"});
    EXPECT_DOUBLE_EQ(dsp.DspVersion(), 2.05);
}

TEST_P(DspSessionOn, ViewLocationShowsTheWord) {
    setWord(10, 0x1234);
    valueEntry->enterValue(10);
    dsp.mnuViewDspEepromLocation();
    EXPECT_EQ(messages(), QStringList{"Eeprom Address: 10 Value: 4660"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    ASSERT_EQ(valueEntry->shown.size(), 1u);
    EXPECT_EQ(valueEntry->shown[0].prompt, QStringLiteral("Eeprom Location To Read"));
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 1023);
}

TEST_P(DspFailuresOn, ViewLocationReportsASilentLocation) {
    model.silentAddresses = {10};
    valueEntry->enterValue(10);
    dsp.mnuViewDspEepromLocation();
    EXPECT_EQ(messages(), QStringList{"Read DSP Eeprom Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_P(DspSessionOn, WriteLocationStoresTheWordLowByteFirst) {
    valueEntry->enterEeprom(20, 65535);
    valueEntry->enterEeprom(22, 4660);
    dsp.mnuWriteDspEeprom();
    dsp.mnuWriteDspEeprom();
    EXPECT_EQ(messages(), (QStringList{"Write Dsp Eeprom -> Completed (Add: 20 Data: 65535)",
                                       "Write Dsp Eeprom -> Completed (Add: 22 Data: 4660)"}));
    EXPECT_EQ(model.dspBytes[20], 0xFF);
    EXPECT_EQ(model.dspBytes[21], 0xFF);
    EXPECT_EQ(model.dspBytes[22], 0x34);
    EXPECT_EQ(model.dspBytes[23], 0x12);
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[0].eepromTitle, QStringLiteral("Write Dsp Eeprom"));
    EXPECT_EQ(valueEntry->shown[0].eeData.maximum, 65535);
}

TEST_F(DspSession, CancelledEntriesSendNothing) {
    connect(Link::Usb);
    valueEntry->cancel();
    dsp.mnuViewDspEepromLocation();
    valueEntry->cancel();
    dsp.mnuWriteDspEeprom();
    valueEntry->enterEeprom(0, 5);
    dsp.mnuWriteDspEeprom();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(model.countReceived(ids::DspReadRequest), 0);
    EXPECT_EQ(model.countReceived(ids::DspWriteRequest), 0);
}

TEST_P(DspSessionOn, WriteParametersReadsTheEditorsBytes) {
    EXPECT_TRUE(dsp.mnuWriteDspParameters());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    for (int k = 0; k <= 121; ++k)
        ASSERT_EQ(s.DataBuffer[k], model.dspBytes[size_t(k)]) << k;
    EXPECT_EQ(s.DataCount, 122);
    EXPECT_EQ(progress.maximum, 120);
    EXPECT_EQ(progress.value, 0);
    EXPECT_TRUE(progress.visible);
}

TEST_P(DspFailuresOn, WriteParametersStopsAtTheFailedRead) {
    model.silentAddresses = {40};
    EXPECT_FALSE(dsp.mnuWriteDspParameters());
    EXPECT_EQ(messages(), QStringList{"Unable To Receive Dsp Settings"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(progress.value, 38);
    EXPECT_EQ(model.countReceived(ids::DspReadRequest, 0x90) > 0, true);
}

TEST_P(DspSessionOn, ParameterReportPrintsThe66Lines) {
    setWord(0, 1200);
    const app::ReportLines lines = dsp.mnuDspViewParameters();
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    ASSERT_TRUE(lines);
    DataBufferArray bytes;
    for (int k = 0; k < app::DspReportBytes; ++k)
        bytes.put(k, model.dspBytes[size_t(k)]);
    const QDateTime now = ctx.now();
    EXPECT_EQ(*lines, app::makeDspParameterReport(app::reportTimeText(now), app::reportDateText(now), bytes));
    ASSERT_EQ(lines->size(), 66);
    EXPECT_EQ((*lines)[6], QStringLiteral("Tq Filter Freq: 1200"));
    EXPECT_EQ(progress.maximum, 126);
    EXPECT_EQ(progress.value, 126);
    if (GetParam() == Link::Ethernet) {
        // The frame that ends the reads goes out once, after the last read.
        EXPECT_TRUE(waitFor([&] { return filterFramesReceived(ids::DspReadDone) == 1; }));
        EXPECT_EQ(dongle.frames.back().accept, ids::DspReadDone);
    } else {
        EXPECT_EQ(filterFramesReceived(ids::DspReadDone), 0);
    }
}

TEST_P(DspFailuresOn, ParameterReportStopsAtTheFailedRead) {
    model.silentAddresses = {64};
    EXPECT_FALSE(dsp.mnuDspViewParameters());
    EXPECT_EQ(messages(), QStringList{"Read Dsp Parameters Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(progress.value, 62);
}

TEST_P(DspSessionOn, RpmRunsOnRevision301) {
    model.dspRevisionMajor = 3;
    model.dspRevisionMinor = 1;
    model.diag.rpm = 2500;
    dsp.mnuRPM();
    EXPECT_EQ(messages(),
              (QStringList{"Hold Down Tool Trigger and hit OK While Running", "Tool RPM = 2500"}));
    EXPECT_DOUBLE_EQ(dsp.DspVersion(), 3.01);
    EXPECT_GE(model.countReceived(ids::ToolRequest, 0xD1), 1);
}

TEST_P(DspSessionOn, DiagnosticsRefuseRevision300) {
    model.dspRevisionMajor = 3;
    model.dspRevisionMinor = 0;
    dsp.mnuDiag();
    ASSERT_EQ(messages(), QStringList{"DSP Version must be 3.01 or higher.\r\nCurrent DSP Version is 3"});
    EXPECT_EQ(lastIcon(), MessageIcon::None);
    EXPECT_EQ(model.countReceived(ids::ToolRequest), 0);

    dialogs->messages.clear();
    model.dspRevisionMinor = 1;
    dsp.mnuDiag();
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(messages().value(0), QStringLiteral("Make sure you run tool for at least 2 seconds"));
    EXPECT_TRUE(messages().value(1).startsWith(QStringLiteral("Tool Offset Voltage = 2.5\r\n")));
}

TEST_P(DspFailuresOn, NoToolMeansNoDspFrame) {
    model.silentAddresses = {45};
    dsp.mnuRPM();
    EXPECT_EQ(messages(), QStringList{"Tool May not be connected"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(model.countReceived(ids::ToolReply), 0);
    if (GetParam() == Link::Usb) {
        for (const auto& f : ftdi.frames)
            EXPECT_NE(f.accept, ids::ToolReply);
    } else {
        EXPECT_NE(chip.filterId(), ids::ToolReply);
    }
}

TEST_F(DspSession, AFailedRevisionReadShowsItsBoxThenTheVersion) {
    connect(Link::Usb);
    model.noReply.insert(ids::ToolReply);
    dsp.mnuRPM();
    EXPECT_EQ(messages(), (QStringList{"DSP value not read",
                                       "DSP Version must be 3.01 or higher.\r\nCurrent DSP Version is 0"}));
    // The DSP checks expect the tool data code over USB.
    ASSERT_FALSE(ftdi.frames.empty());
    bool dspCheckSeen = false;
    for (const auto& f : ftdi.frames)
        dspCheckSeen =
            dspCheckSeen || (f.accept == ids::ToolReply && f.expected == std::array<int, 2>{0xD1, 0});
    EXPECT_TRUE(dspCheckSeen);
}

TEST_F(DspSession, EthernetLinkCheckTexts) {
    useUnconnectedEthernet();
    dsp.mnuViewDspEepromLocation();
    dsp.mnuWriteDspEeprom();
    EXPECT_FALSE(dsp.mnuWriteDspParameters());
    EXPECT_FALSE(dsp.mnuDspViewParameters());
    dsp.mnuRPM();
    EXPECT_EQ(messages(), (QStringList{"Unable to connect using ethernet", "Unable to connect using ethernet",
                                       "Unable to connect using ethernet", "Unable to connect using ethernet",
                                       "Unable to Connect through Ethernet"}));
    EXPECT_TRUE(valueEntry->shown.empty());
    EXPECT_TRUE(model.received.empty());
}
