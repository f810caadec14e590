// What the live monitors refuse or count, link by link: misses and their limit, a busy link, a refused
// send, a failed transfer, button frames that are not an answer, result messages that do not continue the
// result being gathered, failure paths that close the rundown monitor, and the transmit test.
#include "monitor/transmittest.h"
#include "tests/monitor/livemonitorsfixture.h"

#include <QDir>
#include <QFileInfo>

using namespace monitortest;

namespace {

using PpMonitors = LiveMonitors<testsupport::PpFixture>;
using EthernetMonitors = LiveMonitors<testsupport::EthernetFixture>;
using UsbMonitors = LiveMonitors<testsupport::UsbFixture>;
using PpRunScreen = RunScreen<testsupport::PpFixture>;
using UsbRunScreen = RunScreen<testsupport::UsbFixture>;
using EthernetRunScreen = RunScreen<testsupport::EthernetFixture>;

const QStringList NoFaults{"No Fault Codes Received"};

TEST_F(PpMonitors, MoreThan25MissesClearTheListAndAFaultDoesNotResetTheCount) {
    configure(ids::ToolReply);
    const CanMessage notAGroup = ControllerModel::faultMessage(0x13, 0xFF, 0xFF);
    for (int i = 0; i < 25; ++i) {
        chip.emitSpontaneous(notAGroup);
        monitor.faultTick();
    }
    EXPECT_TRUE(monitor.lines().isEmpty());
    EXPECT_EQ(monitor.missCount(), 25);
    // A fault report replaces the list but leaves the count; a tick with nothing waiting is no miss.
    chip.emitSpontaneous(ControllerModel::faultMessage(0x11, 0x20, 0));
    monitor.faultTick();
    monitor.faultTick();
    EXPECT_EQ(monitor.lines(), (QStringList{"---- Cycle Reset Faults Received ----", " "}));
    EXPECT_EQ(monitor.missCount(), 25);
    // A rundown report in fault mode is a miss too: the 26th.
    chip.emitSpontaneous(ControllerModel::rundownMessage(0, 1, 2, 3));
    monitor.faultTick();
    EXPECT_EQ(monitor.lines(), NoFaults);
    EXPECT_EQ(monitor.missCount(), 0);
    // Every message read was cleared from the dongle.
    EXPECT_EQ(chip.reg(clink::canctl::CANINTF) & clink::canctl::RX0IF, 0);
}

TEST_F(PpMonitors, AFaultInRundownModeIsDroppedAndABusyLinkIsLeftAlone) {
    configure(ids::ToolReply);
    chip.emitSpontaneous(ControllerModel::faultMessage(0x10, 1, 0));
    EXPECT_EQ(monitor.rundownTick(), MonitorSession::RundownTick::Continue);
    EXPECT_TRUE(monitor.lines().isEmpty());
    EXPECT_EQ(chip.busPending(), 0u);
    // While a command holds the link, neither tick reads the dongle.
    chip.emitSpontaneous(ControllerModel::faultMessage(0x10, 1, 0));
    {
        base::BusyGuard command(busy);
        const int reads = chip.intfReads;
        monitor.faultTick();
        EXPECT_EQ(monitor.rundownTick(), MonitorSession::RundownTick::Continue);
        EXPECT_EQ(chip.intfReads, reads);
    }
    monitor.faultTick();
    EXPECT_EQ(monitor.lines(), (QStringList{"---- Auto Reset Faults Received ----", "TID TIMEOUT"}));
}

TEST_F(PpMonitors, ADongleThatCannotBeSetUpClosesTheRundownMonitor) {
    configure(ids::ToolReply);
    chip.stuckConfigMode = true;
    chip.emitSpontaneous(ControllerModel::rundownMessage(0, 1000, 90, 0));
    EXPECT_EQ(monitor.rundownTick(), MonitorSession::RundownTick::CloseWindow);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable To Configure CanDongle");
    EXPECT_EQ(dialogs.messages[0].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
}

TEST_F(UsbMonitors, AStatusThatDoesNotComeClosesTheRundownMonitor) {
    model.noReply.insert(ids::StatusRequest);
    device.emitSpontaneous(ControllerModel::rundownMessage(0, 1000, 90, 0));
    EXPECT_EQ(monitor.rundownTick(), MonitorSession::RundownTick::CloseWindow);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "System Status Not Received");
    EXPECT_EQ(dialogs.messages[0].caption, "Receive Error");
    EXPECT_TRUE(monitor.lines().isEmpty());
}

TEST_F(UsbMonitors, RevisionAnswersAreMissesAndAFailedTransferIsNone) {
    // The DSP answers the tick's zero-data frame with its revision: a miss on every tick.
    monitor.faultTick();
    EXPECT_EQ(monitor.missCount(), 1);
    EXPECT_TRUE(s.ReplyReady);
    // A transfer that fails adds nothing, even with a fault group left in the reply bytes.
    s.UsbRxBytes = {0x10, 0, 1, 0, 0, 0, 0, 0, 0};
    device.writeFails = 1;
    device.readFails = 1;
    monitor.faultTick();
    EXPECT_EQ(monitor.missCount(), 1);
    EXPECT_TRUE(monitor.lines().isEmpty());
}

TEST_F(EthernetMonitors, APrintedGroupResetsTheMissesAndRevisionAnswersChangeNothing) {
    linkCheck(ids::ToolReply);
    settle(ids::ToolReply);
    // A rundown report heard by the fault tick is a miss; the DSP's revision answers to the tick's filter
    // frames are not even heard.
    dongle.armOnAccept(ids::ToolReply,
                       [this] { dongle.emitSpontaneous(ControllerModel::rundownMessage(0, 1, 2, 3)); });
    monitor.faultTick();
    EXPECT_EQ(monitor.missCount(), 1);
    EXPECT_TRUE(monitor.lines().isEmpty());
    dongle.armOnAccept(ids::ToolReply,
                       [this] { dongle.emitSpontaneous(ControllerModel::faultMessage(0x12, 1, 0)); });
    monitor.faultTick();
    EXPECT_EQ(monitor.missCount(), 0);
    EXPECT_EQ(monitor.lines(), (QStringList{"---- External Reset Faults Received ----", "PSET VALUE"}));
    EXPECT_GE(model.countReceived(ids::ToolReply, 0), 2);
}

TEST_F(EthernetMonitors, ARefusedSendEndsTheTickAtOnceWithoutAMiss) {
    link.socket.close();
    ASSERT_TRUE(waitFor([this] { return !link.socket.isConnected(); }));
    monitor.faultTick();
    EXPECT_EQ(monitor.missCount(), 0);
    EXPECT_TRUE(monitor.lines().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EthernetMonitors, ButtonsFollowOnlyAnswersOnTheirIdentifier) {
    model.noReply.insert(ids::ToolEepromRequest);
    ButtonMonitor buttons(link, busy);
    // What other replies left in the receive buffer is not an answer.
    for (int i = 1; i <= 4; ++i)
        s.DataBuffer.put(i, 1);
    EXPECT_FALSE(buttons.tick());
    // A frame on the button identifier whose byte 0 is not 0 is not either.
    dongle.armOnAccept(ids::ButtonReply, [this] {
        dongle.emitSpontaneous({ids::ButtonReply, {1, 1, 1, 1, 1, 0, 0, 0}});
    });
    EXPECT_FALSE(buttons.tick());
    EXPECT_EQ(buttons.labels(), (ButtonMonitor::Labels{"Cw", "Center", "Ccw", "Trigger"}));
    dongle.armOnAccept(ids::ButtonReply, [this] {
        dongle.emitSpontaneous({ids::ButtonReply, {0, 0, 1, 1, 0, 0, 0, 0}});
    });
    EXPECT_TRUE(buttons.tick());
    EXPECT_EQ(buttons.labels(), (ButtonMonitor::Labels{"Cw: Off", "Center: Off", "Ccw: On", "Trigger: On"}));
}

TEST_F(UsbMonitors, ButtonsIgnoreAFailedTransferAndAForeignAnswer) {
    ButtonMonitor buttons(link, busy);
    s.UsbRxBytes = {0, 1, 1, 1, 1, 0, 0, 0, 0};
    device.writeFails = 1;
    device.readFails = 1;
    EXPECT_FALSE(buttons.tick());
    model.noReply.insert(ids::ToolEepromRequest);
    device.emitSpontaneous({ids::ButtonReply, {2, 1, 1, 1, 1, 0, 0, 0}});
    EXPECT_FALSE(buttons.tick());
    EXPECT_EQ(buttons.labels(), (ButtonMonitor::Labels{"Cw", "Center", "Ccw", "Trigger"}));
}

TEST_F(PpMonitors, TransmitTestSendsItsRunsBetweenItsBoxes) {
    TransmitTest test(link);
    ASSERT_TRUE(test.begin());
    int slices = 0;
    while (test.sendSlice())
        ++slices;
    EXPECT_GT(slices, 3 * TransmitTest::MessagesPerRun / TransmitTest::MessagesPerSlice);
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{"Starting 1", "Starting 2", "Starting 4", "Done sending message"}));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::None);
    std::vector<int> byte2;
    for (const CanMessage& m : chip.transmitted) {
        if (m.id != ids::ButtonReply)
            continue;
        EXPECT_EQ(m.data[0], 0);
        byte2.push_back(m.data[2]);
    }
    ASSERT_EQ(byte2.size(), 1u + 3 * TransmitTest::MessagesPerRun + 1);
    EXPECT_EQ(byte2.front(), 0);
    EXPECT_EQ(std::count(byte2.begin(), byte2.end(), 1), TransmitTest::MessagesPerRun);
    EXPECT_EQ(std::count(byte2.begin(), byte2.end(), 4), TransmitTest::MessagesPerRun);
    EXPECT_EQ(byte2[1 + TransmitTest::MessagesPerRun], 2);
    EXPECT_EQ(chip.transmitted.back().data, (std::array<int, 8>{}));
    EXPECT_FALSE(test.sendSlice());
}

TEST_F(UsbMonitors, TransmitTestNeedsTheDongleSetUp) {
    TransmitTest test(link);
    EXPECT_FALSE(test.begin());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Unable To Configure CanDongle"});
    EXPECT_FALSE(test.sendSlice());
    EXPECT_TRUE(device.frames.empty());
}

TEST_F(EthernetMonitors, ClosingSendsItsFrameOnTheSocket) {
    monitor.sendClosingFrame();
    ASSERT_TRUE(waitFor([this] { return !dongle.frames.empty(); }));
    EXPECT_EQ(dongle.frames.back().accept, 0x10EF0103u);
    EXPECT_EQ(dongle.frames.back().message, (CanMessage{0x10EF0103, {}}));
}

TEST_F(PpRunScreen, AForeignMessageMidResultDiscardsIt) {
    ASSERT_EQ(screen.startLink(), RunScreenSession::Start::Polling);
    const std::vector<CanMessage> first = model.rundownEvent(record(120));
    // Start frame, message 1, a message with another code, then messages 2 and 3: nothing is shown.
    deliver({first[0], first[1], {ids::RunData, {0x11, 2, 9, 9, 9, 9, 9, 9}}, first[2], first[3]});
    EXPECT_TRUE(loggedRows().isEmpty());
    EXPECT_EQ(screen.labels()[RunScreenSession::TargetLabel], "Tq Target : 0");
    EXPECT_EQ(screen.gathered(), 0);
    // A message out of sequence discards as well; the next result is whole.
    const std::vector<CanMessage> second = model.rundownEvent(record(140));
    deliver({second[1], second[3], second[2]});
    EXPECT_TRUE(loggedRows().isEmpty());
    deliver(second);
    ASSERT_EQ(loggedRows().size(), 1);
    EXPECT_EQ(loggedRows()[0][3], "14");
}

TEST_F(UsbRunScreen, ALostMessageNeverMixesTwoResults) {
    ASSERT_EQ(screen.startLink(), RunScreenSession::Start::Polling);
    const std::vector<CanMessage> a = model.rundownEvent(record(120));
    const std::vector<CanMessage> b = model.rundownEvent(record(140));
    // Message 2 of a is lost: its message 3 discards message 1, and b is shown whole.
    deliver({a[1], a[3]});
    EXPECT_EQ(screen.gathered(), 0);
    deliver({b[1], b[2], b[3]});
    // Only a's message 1 came: b's message 1 begins a new result.
    deliver({a[1], b[1], b[2], b[3]});
    const QList<QStringList> rows = loggedRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][3], "14");
    EXPECT_EQ(rows[1][3], "14");
}

TEST_F(UsbRunScreen, AMissingDongleIsReportedOnceWhileTheRetriesGoOn) {
    device.noDevice = true;
    EXPECT_EQ(screen.startLink(), RunScreenSession::Start::Retry);
    EXPECT_EQ(dialogs.messageTexts().count("Unable to connect using USB"), 1);
    const size_t boxes = dialogs.messages.size();
    EXPECT_EQ(screen.retryLink(), RunScreenSession::Start::Retry);
    EXPECT_EQ(screen.retryLink(), RunScreenSession::Start::Retry);
    EXPECT_EQ(dialogs.messages.size(), boxes);
    // The dongle is back: polling begins.
    device.noDevice = false;
    EXPECT_EQ(screen.retryLink(), RunScreenSession::Start::Polling);
    EXPECT_EQ(screen.labels()[RunScreenSession::StatusLabel], "Status: Drivers Started");
}

TEST_F(EthernetRunScreen, AClosedSocketIsRetriedWithoutABox) {
    link.socket.close();
    ASSERT_TRUE(waitFor([this] { return !link.socket.isConnected(); }));
    EXPECT_EQ(screen.startLink(), RunScreenSession::Start::Retry);
    EXPECT_EQ(screen.retryLink(), RunScreenSession::Start::Retry);
    EXPECT_EQ(screen.labels()[RunScreenSession::StatusLabel], "Status : ");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EthernetRunScreen, AResultIsTakenOnceTheCommandHoldingTheLinkIsOver) {
    ASSERT_EQ(screen.startLink(), RunScreenSession::Start::Polling);
    settle(ids::RunData);
    {
        base::BusyGuard command(busy);
        for (const CanMessage& m : model.rundownEvent(record(120)))
            dongle.emitSpontaneous(m);
        ASSERT_TRUE(waitFor([this] { return s.RequestData[1] == 0x10; }));
        screen.poll();
        EXPECT_TRUE(loggedRows().isEmpty());
    }
    screen.poll();
    EXPECT_EQ(loggedRows().size(), 1);
}

TEST_F(PpRunScreen, ViewAndClearTheLog) {
    EXPECT_FALSE(screen.viewRundowns());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Data file does not exist"});
    screen.clearRundowns();
    EXPECT_FALSE(QFile::exists(RundownLogFile::path()));
    ASSERT_EQ(screen.startLink(), RunScreenSession::Start::Polling);
    deliver(model.rundownEvent(record(120)));
    const auto rows = screen.viewRundowns();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2);
    EXPECT_EQ(rows->fields(0), RundownLogFile::Header);
    screen.clearRundowns();
    EXPECT_EQ(logRows(RundownLogFile::read()), QList<QStringList>{RundownLogFile::Header});
}

TEST_F(PpRunScreen, ALogThatCannotBeReadOrRewrittenSaysSo) {
    // Something that is no file stands where the log belongs.
    ASSERT_TRUE(QDir().mkpath(RundownLogFile::path()));
    EXPECT_FALSE(screen.viewRundowns());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Unable To Read File " + RundownLogFile::path() + "\r\n"))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    // Clearing it, and logging a rundown after the result's own status, say why in the status line.
    const QString unable = "Status: Unable To Write Pset_RundownData.txt: " + base::NotARegularFileText;
    screen.clearRundowns();
    EXPECT_EQ(screen.labels()[RunScreenSession::StatusLabel], unable);
    ASSERT_EQ(screen.startLink(), RunScreenSession::Start::Polling);
    deliver(model.rundownEvent(record(120)));
    EXPECT_EQ(screen.labels()[RunScreenSession::StatusLabel], unable);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(QFileInfo(RundownLogFile::path()).isDir());
}

} // namespace
