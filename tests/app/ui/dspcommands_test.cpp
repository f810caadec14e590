// The Dsp menu and the RPM and diagnostics commands on each link against the stand-in.
#include "app/commands/dspcommands.h"
#include "app/reports/dspreport.h"
#include "app/reporttime.h"
#include "app/ui/windowregistry.h"
#include "link/cancontroller.h"
#include "tests/app/ui/tooldspfixture.h"

#include <QProgressBar>

using namespace clink;
using apptest::Link;
using base::MessageIcon;

namespace {

class DspCommandsOn : public apptest::ToolDspFixture, public ::testing::WithParamInterface<Link> {
protected:
    DspCommandsOn() {
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
    }
    void SetUp() override { connect(GetParam()); }
    app::DspCommands& dsp() { return *main.group<app::DspCommands>(); }
    void setWord(int address, int value) {
        model.dspBytes[size_t(address)] = uint8_t(value & 0xFF);
        model.dspBytes[size_t(address + 1)] = uint8_t(value >> 8);
    }
    QStringList opened;
};

// Links on which an unanswered transaction gives up quickly.
class DspFailuresOn : public DspCommandsOn {};

using DspCommands = apptest::ToolDspFixture;

} // namespace

INSTANTIATE_TEST_SUITE_P(Links, DspCommandsOn,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort), apptest::linkName);
INSTANTIATE_TEST_SUITE_P(Links, DspFailuresOn, ::testing::Values(Link::Usb, Link::ParallelPort),
                         apptest::linkName);

// On the parallel port the dongle is still in its configuration mode, as start-up leaves it.
TEST_P(DspCommandsOn, ResetRestoresTheDefaults) {
    const auto defaults = model.dspDefaults;
    setWord(10, 0x1234);
    trigger("mnuDspResetToDefaults");
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_EQ(model.dspResets, 1);
    EXPECT_EQ(model.dspBytes, defaults);
    EXPECT_EQ(model.received.back(), (CanMessage{ids::DspWriteRequest, {0x0B, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(DspCommands, ResetThatWasNotSentIsReportedAsFailed) {
    useEthernet(refusedPort());
    trigger("mnuDspResetToDefaults");
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults Failed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);

    // A parallel-port dongle that never leaves its configuration mode sends nothing.
    dialogs->messages.clear();
    connect(Link::ParallelPort);
    chip.stuckConfigMode = true;
    trigger("mnuDspResetToDefaults");
    EXPECT_EQ(messages(), QStringList{"Dsp Reset To Factory Defaults Failed"});
    EXPECT_EQ(model.dspResets, 0);

    dialogs->messages.clear();
    s.ConnectionType = NoConnection;
    trigger("mnuDspResetToDefaults");
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(DspCommandsOn, RevisionShowsMajorAndTwoDigitMinor) {
    model.dspRevisionMajor = 2;
    model.dspRevisionMinor = 5;
    trigger("mnuDspRev");
    EXPECT_EQ(messages(), QStringList{"Dsp Software Revision : 2.05"});
    EXPECT_DOUBLE_EQ(dsp().DspVersion(), 2.05);
}

TEST_P(DspCommandsOn, ViewLocationShowsTheWord) {
    setWord(10, 0x1234);
    enterValue(10);
    trigger("mnuViewDspEepromLocation");
    EXPECT_EQ(messages(), QStringList{"Eeprom Address: 10 Value: 4660"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    ASSERT_EQ(valueEntry->shown.size(), 1u);
    EXPECT_EQ(valueEntry->shown[0].prompt, QStringLiteral("Eeprom Location To Read"));
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 1023);
}

TEST_P(DspCommandsOn, WriteLocationStoresTheWordLowByteFirst) {
    enterEeprom(20, 65535);
    enterEeprom(22, 4660);
    trigger("mnuWriteDspEeprom");
    trigger("mnuWriteDspEeprom");
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

TEST_F(DspCommands, CancelledEntriesSendNothing) {
    connect(Link::Usb);
    cancelEntry();
    trigger("mnuViewDspEepromLocation");
    cancelEntry();
    trigger("mnuWriteDspEeprom");
    enterEeprom(0, 5);
    trigger("mnuWriteDspEeprom");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(model.countReceived(ids::DspReadRequest), 0);
    EXPECT_EQ(model.countReceived(ids::DspWriteRequest), 0);
}

TEST_P(DspCommandsOn, WriteParametersOpensTheEditorWithTheBytes) {
    trigger("mnuWriteDspParameters");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(opened, QStringList{app::wnd::FrmDspParameters});
    for (int k = 0; k <= 121; ++k)
        ASSERT_EQ(s.DataBuffer[k], model.dspBytes[size_t(k)]) << k;
    EXPECT_EQ(s.DataCount, 122);
    EXPECT_EQ(main.Bar1()->maximum(), 120);
    EXPECT_EQ(main.Bar1()->value(), 0);
}

TEST_P(DspFailuresOn, WriteParametersStopsAtTheFailedRead) {
    model.silentAddresses = {40};
    trigger("mnuWriteDspParameters");
    EXPECT_EQ(messages(), QStringList{"Unable To Receive Dsp Settings"});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(main.Bar1()->value(), 38);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_P(DspCommandsOn, ParameterReportPrintsThe66Lines) {
    setWord(0, 1200);
    trigger("mnuDspViewParameters");
    EXPECT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    DataBufferArray bytes;
    for (int k = 0; k < app::DspReportBytes; ++k)
        bytes.put(k, model.dspBytes[size_t(k)]);
    const QDateTime now = ctx.now();
    EXPECT_EQ(report(),
              app::makeDspParameterReport(app::reportTimeText(now), app::reportDateText(now), bytes));
    ASSERT_EQ(report().size(), 66);
    EXPECT_EQ(report()[6], QStringLiteral("Tq Filter Freq: 1200"));
    if (GetParam() == Link::Ethernet) {
        EXPECT_TRUE(waitFor([&] { return filterFramesReceived(ids::DspReadDone) == 1; }));
    }
}

TEST_P(DspFailuresOn, ParameterReportStopsAtTheFailedRead) {
    model.silentAddresses = {64};
    trigger("mnuDspViewParameters");
    EXPECT_EQ(messages(), QStringList{"Read Dsp Parameters Failed"});
    EXPECT_EQ(reportWindows(), 0);
    EXPECT_EQ(main.Bar1()->value(), 62);
}

TEST_P(DspCommandsOn, RpmRunsOnRevision301) {
    model.dspRevisionMajor = 3;
    model.dspRevisionMinor = 1;
    model.diag.rpm = 2500;
    trigger("mnuRPM");
    EXPECT_EQ(messages(),
              (QStringList{"Hold Down Tool Trigger and hit OK While Running", "Tool RPM = 2500"}));
    EXPECT_DOUBLE_EQ(dsp().DspVersion(), 3.01);
    EXPECT_GE(model.countReceived(ids::ToolRequest, 0xD1), 1);
}

TEST_P(DspCommandsOn, DiagnosticsRefuseRevision300) {
    model.dspRevisionMajor = 3;
    model.dspRevisionMinor = 0;
    trigger("mnuDiag");
    ASSERT_EQ(messages(), QStringList{"DSP Version must be 3.01 or higher.\r\nCurrent DSP Version is 3"});
    EXPECT_EQ(lastIcon(), MessageIcon::None);
    EXPECT_EQ(model.countReceived(ids::ToolRequest), 0);

    dialogs->messages.clear();
    model.dspRevisionMinor = 1;
    trigger("mnuDiag");
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(messages().value(0), QStringLiteral("Make sure you run tool for at least 2 seconds"));
    EXPECT_TRUE(messages().value(1).startsWith(QStringLiteral("Tool Offset Voltage = 2.5\r\n")));
}

TEST_P(DspFailuresOn, NoToolMeansNoDspFrame) {
    model.silentAddresses = {45};
    trigger("mnuRPM");
    EXPECT_EQ(messages(), QStringList{"Tool May not be connected"});
    EXPECT_EQ(model.countReceived(ids::ToolReply), 0);
    if (GetParam() == Link::Usb) {
        for (const auto& f : ftdi.frames)
            EXPECT_NE(f.accept, ids::ToolReply);
    } else {
        EXPECT_NE(chip.filterId(), ids::ToolReply);
    }
}

TEST_F(DspCommands, AFailedRevisionReadShowsItsBoxThenTheVersion) {
    connect(Link::Usb);
    model.noReply.insert(ids::ToolReply);
    trigger("mnuRPM");
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
