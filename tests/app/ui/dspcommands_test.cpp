// The Dsp menu's wiring in the main window on each link against the stand-in: the revision box, the
// parameter editor opened on the bytes read, the report window, and nothing while another command holds the
// program busy. The commands themselves are tested through their session.
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

TEST_P(DspCommandsOn, RevisionShowsMajorAndTwoDigitMinor) {
    model.dspRevisionMajor = 2;
    model.dspRevisionMinor = 5;
    trigger("mnuDspRev");
    EXPECT_EQ(messages(), QStringList{"Dsp Software Revision : 2.05"});
    EXPECT_FALSE(ctx.busy.busy());
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

TEST_F(DspCommands, NothingGoesOutWhileAnotherCommandHoldsTheProgramBusy) {
    connect(Link::Usb);
    expectNothingWhileBusy({"mnuDspResetToDefaults", "mnuDspRev", "mnuViewDspEepromLocation",
                            "mnuWriteDspEeprom", "mnuWriteDspParameters", "mnuDspViewParameters", "mnuRPM",
                            "mnuDiag"});

    // Once it has ended, the same entries run their commands.
    model.diag.rpm = 2500;
    model.dspRevisionMajor = 3;
    model.dspRevisionMinor = 1;
    trigger("mnuRPM");
    EXPECT_EQ(messages(),
              (QStringList{"Hold Down Tool Trigger and hit OK While Running", "Tool RPM = 2500"}));
    trigger("mnuDspResetToDefaults");
    EXPECT_EQ(model.dspResets, 1);
    EXPECT_FALSE(ctx.busy.busy());
}
