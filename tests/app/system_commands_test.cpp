// The System commands' and the window launchers' sessions against the stand-in: the status and Parameter
// Sets reports, the SCC version, the controller-type checks, the launchers' link checks, and the USB
// dongle's test exchange on a failed device and on a silent or answering one.
#include "app/reporttime.h"
#include "app/sessions/launchersession.h"
#include "app/sessions/systemsession.h"
#include "link/linkcheck.h"
#include "tests/app/commandfixture.h"

using namespace clink;
using testsupport::Link;

namespace {

class SystemSessions : public commandtest::CommandFixture {
protected:
    app::LauncherSession launchers{ctx, progress};
};

TEST_F(SystemSessions, UsbTestOnAFailedDeviceOnASilentOneAndOnOneThatEchoes) {
    useUsb();
    ftdi.noDevice = true;
    EXPECT_FALSE(launchers.mnuORVTEST());
    // The device set-up's own boxes, then the test's.
    EXPECT_EQ(dialogs->messageTexts().last(), "Unable to connect using USB");
    EXPECT_EQ(dialogs->messages.back().icon, base::MessageIcon::Critical);
    EXPECT_TRUE(ftdi.frames.empty());

    dialogs->messages.clear();
    ftdi.noDevice = false;
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.noReply.insert(ids::UsbTestRequest);
    EXPECT_FALSE(launchers.mnuORVTEST());
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"No Habla"});
    EXPECT_EQ(dialogs->messages.back().icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->messages.back().caption, "Palverin2006");
    // The bare frame, then the test frame with its eight bytes.
    ASSERT_GE(ftdi.frames.size(), 2u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::UsbTestReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::UsbTestRequest, {0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(ftdi.frames[1].message, (CanMessage{ids::UsbTestRequest, {1, 2, 3, 4, 5, 6, 7, 8}}));

    // Whatever link is chosen, the USB dongle is asked; its echo is shown byte by byte.
    dialogs->messages.clear();
    model.noReply.clear();
    s.ConnectionType = TcpIp;
    EXPECT_TRUE(launchers.mnuORVTEST());
    EXPECT_EQ(dialogs->messageTexts(),
              QStringList{"DataArray(0) = 1\r\nDataArray(1) = 2\r\nDataArray(2) = 3\r\nDataArray(3) = 4\r\n"
                          "DataArray(4) = 5\r\nDataArray(5) = 6\r\nDataArray(6) = 7\r\nDataArray(7) = 8"});
}

// Pset layout as the controller holds it: torque control / angle monitor to 125.0 (120.0..130.0) in Nm,
// threshold 10, downshift 100, cycle complete 5, angle window 0..400.0, free speed 1500 and downshift
// 300 rpm, soft start and ergo on.
sim::ControllerModel::PsetBytes psetBytes(int pset, int units) {
    return {2, 0xE2, 0x04, 0x14, 0x05, 0xB0, 0x04, 1, 0x64, 0x00, 0xE8, 0x03, 0x32,  0x00,
            1, 0x00, 0x00, 0xA0, 0x0F, 0x00, 0x00, 1, 0x98, 0x3A, 0xB8, 0x0B, units, pset};
}

class SystemOverEthernet : public SystemSessions {
protected:
    void SetUp() override { connect(Link::Ethernet); }
    app::SystemSession system{ctx, progress};
};

TEST_F(SystemOverEthernet, StatusGivesTheFiveLinesOrItsFailureBox) {
    model.psetCount = 8;
    model.currentPset = 3;
    model.units = 5;
    model.target = 0x0929;
    EXPECT_EQ(
        system.mnuReadSystemStatus(),
        (QStringList{"--------- SYSTEM INFORMATION --------", "Number Of Parameter Sets: 8             ",
                     "Current Parameter Set: 3                ", "Units: Nm                               ",
                     "Current Target: 234.5                   "}));
    EXPECT_TRUE(dialogs->messages.empty());

    s.ConnectionType = NoConnection;
    EXPECT_FALSE(system.mnuReadSystemStatus());
    EXPECT_EQ(messages(), QStringList{"Read System Status Failed"});
    EXPECT_EQ(lastIcon(), base::MessageIcon::Critical);
}

TEST_F(SystemOverEthernet, ParameterSetsReportForTwoPsetsThenNoneThenAFailedRead) {
    model.psetCount = 2;
    model.psets[1] = psetBytes(1, 5);
    model.psets[2] = psetBytes(2, 1);
    const app::ReportLines report = system.mnuSystemReadParameterSets();
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
    EXPECT_EQ(report, expected);
    EXPECT_EQ(report->size(), 4 + 2 * 18);
    EXPECT_TRUE(progress.visible);
    EXPECT_EQ(progress.maximum, app::SystemSession::PsetBarMaximum);
    EXPECT_EQ(progress.values, (std::vector<int>{0, 1, 2, 0}));

    model.psetCount = 0;
    EXPECT_EQ(system.mnuSystemReadParameterSets()->size(), 4);

    model.psetCount = 11; // the report table ends at Pset 9
    EXPECT_FALSE(system.mnuSystemReadParameterSets());
    EXPECT_EQ(messages(), QStringList{"Read Parameter Sets Failed"});
    EXPECT_EQ(progress.value, 9);
}

TEST_F(SystemOverEthernet, SccVersionShowsTheRevisionAfterItsFilterFrames) {
    model.verMajor = 4;
    model.verMinor = 2;
    system.mnuSCCVersion();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "SCC Revision: 4.02");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->messages[0].caption, "Palverin2006");
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), 1);
    EXPECT_EQ(filterFramesReceived(ids::ConnectFilter), 1);

    s.ConnectionType = NoConnection;
    system.mnuSCCVersion();
    EXPECT_EQ(messages().last(), "Get SCC Revision Failed");
}

TEST_F(SystemSessions, StatusAndVersionOverUsb) {
    connect(Link::Usb);
    model.verMajor = 5;
    model.verMinor = 10;
    app::SystemSession system(ctx, progress);
    system.mnuSCCVersion();
    EXPECT_EQ(system.mnuReadSystemStatus().value_or(QStringList()).value(1),
              "Number Of Parameter Sets: 8             ");
    EXPECT_EQ(messages(), QStringList{"SCC Revision: 5.10"});
}

TEST_F(SystemSessions, LogicEditorFollowsTheControllerType) {
    using Editor = app::LauncherSession::LogicEditor;
    connect(Link::Ethernet);
    const std::pair<int, Editor> types[] = {
        {3, Editor::Ladder}, {4, Editor::Version2}, {5, Editor::Version3}, {6, Editor::Chooser}};
    for (const auto& [major, editor] : types) {
        model.verMajor = major;
        EXPECT_EQ(launchers.logicEditor(), editor) << major;
    }
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), 4);

    // Without a controller, and with a silent one, the chooser opens without a box.
    s.ConnectionType = NoConnection;
    EXPECT_EQ(launchers.logicEditor(), Editor::Chooser);
    connect(Link::Usb);
    model.noReply.insert(ids::CommandRequest);
    EXPECT_EQ(launchers.logicEditor(), Editor::Chooser);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SystemSessions, LogicEditorAfterAFailedLinkShowsTheBoxThenTheChooser) {
    useUsb();
    ftdi.noDevice = true;
    EXPECT_EQ(launchers.logicEditor(), app::LauncherSession::LogicEditor::Chooser);
    EXPECT_TRUE(messages().contains("Unable to connect using USB"));
}

TEST_F(SystemSessions, CalibrationNeedsTypeFourAndNamesTheAddressOnAParallelPortWithoutDongle) {
    connect(Link::Ethernet);
    model.verMajor = 3;
    EXPECT_FALSE(launchers.calibrationReady());
    EXPECT_EQ(messages(), QStringList{"Unable To Calibrate Tool -> Incorrect Scc Version"});
    model.verMajor = 5;
    EXPECT_TRUE(launchers.calibrationReady());
    EXPECT_EQ(messages().size(), 1);

    useParallelPort();
    chip.portMissing = true; // the port never opened: the dongle cannot be configured
    s.ControllerIpAddress = QStringLiteral("None");
    EXPECT_FALSE(launchers.calibrationReady());
    EXPECT_EQ(messages().last(), "Unable To Configure None");
}

TEST_F(SystemSessions, ToolTestAndButtonMonitorChecks) {
    s.ConnectionType = NoConnection; // the dongle-only check fails without a link
    EXPECT_FALSE(launchers.toolTestReady());
    EXPECT_EQ(messages(), QStringList{"Unable To Configure CanDongle"});
    connect(Link::Ethernet);
    EXPECT_TRUE(launchers.toolTestReady());
    // The button monitor tests the connection only, then its ten requests go out on the button reply.
    int windowAt = -1; // the window exists before the first request goes out
    EXPECT_TRUE(
        launchers.buttonMonitorReady([&] { windowAt = model.countReceived(ids::ToolEepromRequest, 0x30); }));
    ASSERT_TRUE(waitFor([&] { return model.countReceived(ids::ToolEepromRequest, 0x30) == 10; }));
    EXPECT_EQ(windowAt, 0);
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 0);
    EXPECT_EQ(messages().size(), 1);
}

} // namespace
