// The device windows' sessions over the stand-in: serial-output mode, reset of all settings, NSM settings
// and clock, socket-tray test and tool cycle-count test; what each shows, sends and leaves in the stand-in.
#include "link/sockettray.h"
#include "service/nsmsession.h"
#include "service/resetall.h"
#include "service/serialout.h"
#include "service/sockettray.h"
#include "service/toolcycletest.h"
#include "sim/trayemitter.h"
#include "tests/service/devicesfixture.h"

using namespace clink;
using namespace devicestest;
using service::ResetItem;

namespace {

const auto AllLinks = ::testing::Values(Link::ParallelPort, Link::Ethernet, Link::Usb);

class SerialOutOn : public OnEachLink {};
INSTANTIATE_TEST_SUITE_P(Devices, SerialOutOn, AllLinks, linkName);

TEST_P(SerialOutOn, LoadShowsTheModeAndSetShowsWhatTheControllerConfirms) {
    model.serialOut.mode = 2;
    service::SerialOutSession session(ctx);
    ASSERT_TRUE(session.Form_Load());
    EXPECT_EQ(session.txtResult(), "Standard Output w/LF & PSET Selected");
    EXPECT_EQ(session.cboSerOut(), 2);
    ASSERT_TRUE(session.cmdSet_Click(1));
    EXPECT_EQ(model.serialOut.mode, 1);
    EXPECT_EQ(session.txtResult(), "Profibus Output Selected");
    // After a set only the parallel port selects the reported item.
    EXPECT_EQ(session.cboSerOut(), link == Link::ParallelPort ? 1 : -1);
    // A mode the list does not hold leaves the text as it was and selects nothing.
    model.serialOut.mode = 3;
    ASSERT_TRUE(session.Form_Load());
    EXPECT_EQ(session.txtResult(), "Profibus Output Selected");
    EXPECT_EQ(session.cboSerOut(), -1);
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_P(SerialOutOn, NothingIsSentWhileAnotherCommandHoldsTheProgram) {
    base::BusyGuard other(ctx.busy);
    service::SerialOutSession session(ctx);
    EXPECT_FALSE(session.Form_Load());
    EXPECT_EQ(received(ids::CommandRequest), 0);
}

class SerialOutUsb : public DevicesFixture {
protected:
    SerialOutUsb() : DevicesFixture(Link::Usb) {}
    void SetUp() override { connect(); }
};

TEST_F(SerialOutUsb, AFailedDongleSendsNothing) {
    // The dongle failed its set-up and cannot be opened again.
    s.UsbFailed = true;
    ftdi.noDevice = true;
    const size_t writes = ftdi.writes.size();
    service::SerialOutSession session(ctx);
    ASSERT_TRUE(session.cmdSet_Click(1));
    EXPECT_EQ(ftdi.writes.size(), writes);
    EXPECT_EQ(session.txtResult(), "");
    EXPECT_EQ(model.serialOut.mode, 0);
}

class ResetAllOn : public OnEachLink {
protected:
    void SetUp() override {
        OnEachLink::SetUp();
        // The DSP reset has no link check of its own: on the parallel port the dongle is left set up by
        // the commands before it.
        if (link == Link::ParallelPort) {
            ASSERT_TRUE(ctx.link.dataTx.ConfigureCanDongle(ids::CommandReply));
        }
    }
    // Runs the chosen items; the items reported done, in order.
    std::vector<ResetItem> run(const service::ResetChoice& choice) {
        service::ResetAllSession session(ctx);
        std::vector<ResetItem> done;
        QObject::connect(&session, &service::ResetAllSession::itemDone,
                         [&](ResetItem item) { done.push_back(item); });
        EXPECT_TRUE(session.cmdResetAll_Click(choice));
        return done;
    }
    void seedCalibration() {
        model.toolEeprom[45] = 0x11;
        model.toolEeprom[46] = 0x22;
        model.toolEeprom[47] = 0x34;
        model.toolEeprom[48] = 0x12;
    }
};
INSTANTIATE_TEST_SUITE_P(Devices, ResetAllOn, AllLinks, linkName);
// The failures that cost a silent controller's whole count of tries: over Ethernet that count means
// seconds, so they run where the stand-in's silence is answered at once.
class ResetAllFailures : public ResetAllOn {};
INSTANTIATE_TEST_SUITE_P(Devices, ResetAllFailures, ::testing::Values(Link::ParallelPort, Link::Usb),
                         linkName);

TEST_P(ResetAllOn, ToolCalibrationAloneCopiesTheFactoryValue) {
    seedCalibration();
    EXPECT_EQ(run({.toolCalibration = true}), std::vector{ResetItem::ToolCalibration});
    // The bytes read land at DataCount on every link: 45/46 get 47/48, never zeros.
    EXPECT_EQ(model.toolEeprom[45], 0x34);
    EXPECT_EQ(model.toolEeprom[46], 0x12);
    EXPECT_EQ(toolReads(), (std::vector{47, 48}));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.dspResets, 0);
    EXPECT_EQ(received(ids::CommandRequest), 0);
}

TEST_P(ResetAllFailures, AnUnacknowledgedPsetResetEndsTheRun) {
    seedCalibration();
    model.noReply.insert(ids::CommandRequest);
    EXPECT_EQ(run({.dsp = true, .psets = true, .logic = true, .toolCalibration = true}),
              std::vector{ResetItem::Dsp});
    EXPECT_EQ(messages(), QStringList{"Parameter Sets Not Reset"});
    EXPECT_EQ(lastMessage().caption, "Receive Error");
    EXPECT_EQ(lastMessage().icon, base::MessageIcon::Critical);
    // The DSP reset went out (four times on the parallel port); the logic reset and the tool calibration
    // were never asked for.
    EXPECT_EQ(model.dspResets, link == Link::ParallelPort ? 4 : 1);
    EXPECT_GT(received(ids::CommandRequest, 0x76), 0);
    EXPECT_EQ(received(ids::CommandRequest, 0x63), 0);
    EXPECT_TRUE(toolReads().empty());
    EXPECT_EQ(model.toolEeprom[45], 0x11);
}

TEST_P(ResetAllOn, EveryItemResetsItsPartOfTheController) {
    seedCalibration();
    model.logicBlocks[1] = {9, 9, 9, 9, 9, 9};
    model.dspBytes[10] = 0xAA;
    EXPECT_EQ(run({.dsp = true, .psets = true, .logic = true, .toolCalibration = true}),
              (std::vector{ResetItem::Dsp, ResetItem::Psets, ResetItem::Logic, ResetItem::ToolCalibration}));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.dspBytes, model.dspDefaults);
    EXPECT_EQ(model.psetCount, 0);
    EXPECT_EQ(model.logicBlocks, model.logicDefaults);
    EXPECT_EQ(model.toolEeprom[45], 0x34);
}

TEST_P(ResetAllFailures, AFailedCalibrationReadNamesTheLocation) {
    model.silentAddresses = {48};
    EXPECT_TRUE(run({.toolCalibration = true}).empty());
    EXPECT_EQ(messages(), QStringList{"Read Cal Value Failed: Msg 4"});
    EXPECT_EQ(lastMessage().caption, base::ProgramTitle);
}

class ResetAllRefused : public DevicesFixture, public ::testing::WithParamInterface<Link> {
protected:
    ResetAllRefused() : DevicesFixture(GetParam()) {}
};
INSTANTIATE_TEST_SUITE_P(Devices, ResetAllRefused, AllLinks, linkName);

TEST_P(ResetAllRefused, ADspResetTheLinkRefusesIsNeverDone) {
    // No dongle on the parallel port, no socket, a USB dongle that failed its set-up.
    switch (link) {
    case Link::ParallelPort:
        s.ConnectionType = clink::ParallelPort;
        break;
    case Link::Ethernet:
        s.ConnectionType = clink::TcpIp;
        break;
    case Link::Usb:
        s.ConnectionType = clink::Usb;
        s.UsbFailed = true;
        break;
    }
    service::ResetAllSession session(ctx);
    int done = 0;
    QObject::connect(&session, &service::ResetAllSession::itemDone, [&] { ++done; });
    ASSERT_TRUE(session.cmdResetAll_Click({.dsp = true, .psets = true}));
    EXPECT_EQ(done, 0);
    EXPECT_EQ(messages(), QStringList{"Dsp Not Reset - Reset Aborted"});
    EXPECT_EQ(lastMessage().icon, base::MessageIcon::Critical);
    EXPECT_EQ(model.dspResets, 0);
}

class ResetAllPp : public DevicesFixture {
protected:
    ResetAllPp() : DevicesFixture(Link::ParallelPort) {}
    void SetUp() override { connect(); }
};

TEST_F(ResetAllPp, TheLogicItemNamesItsOwnDongleFailure) {
    service::ResetAllSession session(ctx);
    chip.stuckConfigMode = true;
    ASSERT_TRUE(session.cmdResetAll_Click({.logic = true}));
    EXPECT_EQ(messages(), QStringList{"Unable To Configure Can Dongle - Reset Aborted"});
    EXPECT_EQ(lastMessage().caption, "Configuration Error");
    ASSERT_TRUE(session.cmdResetAll_Click({.psets = true, .toolCalibration = true}));
    EXPECT_EQ(messages().back(), "Unable To Configure CanDongle");
    EXPECT_EQ(lastMessage().caption, base::ProgramTitle);
    chip.stuckConfigMode = false;
    model.noReply.insert(ids::CommandRequest);
    ASSERT_TRUE(session.cmdResetAll_Click({.logic = true}));
    EXPECT_EQ(messages().back(), "Reset Not Received - Reset Aborted");
    EXPECT_EQ(lastMessage().caption, "Transfer Error");
}

class NsmOn : public OnEachLink {
protected:
    void SetUp() override {
        OnEachLink::SetUp();
        model.nsmUnit.clock = {0x83, 7, 6, 14, 9};
        auto& items = s.NsmSettings.items;
        const std::array<int16_t, 8> values = {1, 0, 20, 4, 30, 0, 1, 0};
        for (size_t e = 0; e < items.size(); ++e)
            items[e].value = values[e];
    }
};
INSTANTIATE_TEST_SUITE_P(Devices, NsmOn, AllLinks, linkName);

TEST_P(NsmOn, LoadShowsTheSettingsAndTheUnitsClock) {
    service::NsmSession session(ctx);
    EXPECT_FALSE(session.clockRead());
    s.DataCount = 9;
    ASSERT_TRUE(session.Form_Load());
    EXPECT_EQ(s.DataCount, 0);
    EXPECT_TRUE(session.clockRead());
    EXPECT_EQ(session.clock,
              (service::NsmClock{.hour = 3, .minute = 7, .month = 6, .day = 14, .year = 9, .pm = true}));
    // Items 7 and 8 show elements 7 and 6.
    const std::vector<int> shown = {session.value(1), session.value(2), session.value(3), session.value(4),
                                    session.value(5), session.value(6), session.value(7), session.value(8)};
    EXPECT_EQ(shown, (std::vector<int>{1, 0, 20, 4, 30, 0, 0, 1}));
    EXPECT_TRUE(messages().empty());
}

TEST_P(NsmOn, EachWriteSendsItsItemWithTheValueShown) {
    service::NsmSession session(ctx);
    session.setValue(4, 6);
    ASSERT_TRUE(session.Write_Click(4));
    EXPECT_EQ(model.nsm[4], 6);
    EXPECT_EQ(messages(), QStringList{"Number Of SpindlesWritten Successfully"});
    EXPECT_EQ(lastMessage().caption, "Write Nsm Data");
    EXPECT_EQ(lastMessage().icon, base::MessageIcon::Information);
    // The numbers reach NsmSettings only when written; the choices and the latch timer at once.
    EXPECT_EQ(s.NsmSettings.items[3].value, 4);
    session.setValue(5, 45);
    EXPECT_EQ(s.NsmSettings.items[4].value, 45);
    session.setValue(7, 0);
    session.setValue(8, 1);
    EXPECT_EQ(s.NsmSettings.items[7].value, 0);
    EXPECT_EQ(s.NsmSettings.items[6].value, 1);
    // "Collect Data" sends item 7 with element 7's value, "Run Commands" item 8 with element 6's.
    ASSERT_TRUE(session.Write_Click(7));
    ASSERT_TRUE(session.Write_Click(8));
    EXPECT_EQ(model.nsm[7], 0);
    EXPECT_EQ(model.nsm[8], 1);
    EXPECT_EQ(messages().back(), "Run CommandsWritten Successfully");
}

TEST_P(NsmOn, WriteNineSetsTheClockFromItsFields) {
    service::NsmSession session(ctx);
    session.clock = {.hour = 12, .minute = 5, .month = 12, .day = 31, .year = 99, .pm = true};
    ASSERT_TRUE(session.Write_Click(service::NsmSession::ClockItem));
    EXPECT_EQ(model.nsmUnit.clock, (std::array<int, 5>{140, 5, 12, 31, 99}));
    // Only the parallel port confirms the clock.
    EXPECT_EQ(messages(),
              link == Link::ParallelPort ? QStringList{"Time/Date Sent Successfully"} : QStringList{});
    EXPECT_TRUE(session.Send_NsmTimeDate2());
}

class NsmUsb : public DevicesFixture {
protected:
    NsmUsb() : DevicesFixture(Link::Usb) {}
    void SetUp() override { connect(); }
};

TEST_F(NsmUsb, FieldsKeepTheirValuesWhenNoClockCame) {
    model.noReply.insert(ids::NsmRequest);
    service::NsmSession session(ctx);
    ASSERT_TRUE(session.Form_Load());
    EXPECT_FALSE(session.clockRead());
    EXPECT_EQ(session.clock, service::NsmClock{});
    EXPECT_EQ(messages(), QStringList{"Nsm Read Time/Date Failed"});
    // A setting the unit does not confirm is reported.
    ASSERT_TRUE(session.Write_Click(2));
    EXPECT_EQ(messages().back(), "Number Of Retries (Latch Mode Only) Not Written");
}

TEST(SocketTrayLines, ListTheSocketOutAndTheLampsThatAreOn) {
    const QStringList lines = service::socketTrayLines({3, 5}, 1);
    EXPECT_EQ(lines, (QStringList{"Socket 1 : In", "Socket 2 : In", "Socket 3 : Out", "Socket 4 : In",
                                  "Socket 5 : In", "Socket 6 : In", "Socket 7 : In", "Socket 8 : In", " ",
                                  "Socket Value: 5", "Socket 1 : On", "Socket 2 : Off", "Socket 3 : On",
                                  "Socket 4 : Off", "Socket 5 : Off", "Socket 6 : Off", "Socket 7 : Off",
                                  "Socket 8 : Off", "Rx Message Count :1"}));
    // No socket 0 or 9: every socket is in.
    for (int none : {0, 9})
        EXPECT_EQ(service::socketTrayLines({none, 0}, 2).filter(" : In").size(), 8);
}

class SocketTrayOn : public OnEachLink {
protected:
    // Runs passes until the test has shown n messages or the passes run out.
    void passUntil(service::SocketTrayTest& test, int messages) {
        for (int pass = 0; pass < MaxPasses && test.messageCount() < messages; ++pass)
            ASSERT_TRUE(test.pass());
    }
    static constexpr int MaxPasses = 40;
};
INSTANTIATE_TEST_SUITE_P(Devices, SocketTrayOn, AllLinks, linkName);

TEST_P(SocketTrayOn, StoppingBeforeAnyMessageListsStartedThenStopped) {
    service::SocketTrayTest test(ctx);
    test.Form_Load();
    EXPECT_EQ(test.List1(), QStringList{"Connect Socket Tray Then Press The Run Test Button"});
    ASSERT_TRUE(test.btnRunTest_Click());
    EXPECT_TRUE(ctx.busy.busy());
    ASSERT_TRUE(test.pass());
    test.btnStopTest_Click();
    EXPECT_FALSE(test.pass());
    EXPECT_EQ(test.List1(), (QStringList{"Test Socket Tray Started", "Test Socket Tray Stopped"}));
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_FALSE(test.active());
}

TEST_P(SocketTrayOn, EachStatusReplacesTheListAndCountsOn) {
    model.socketTray = {true, 3, 5};
    sim::TrayEmitter tray(model, dongle);
    service::SocketTrayTest test(ctx);
    ASSERT_TRUE(test.btnRunTest_Click());
    passUntil(test, 1);
    ASSERT_EQ(test.messageCount(), 1);
    EXPECT_EQ(test.List1(), service::socketTrayLines({3, 5}, 1));
    model.socketTray = {true, 8, 0x80};
    passUntil(test, 2);
    EXPECT_EQ(test.List1().at(7), "Socket 8 : Out");
    EXPECT_EQ(test.List1().last(), "Rx Message Count :2");
    test.btnStopTest_Click();
    EXPECT_FALSE(test.pass());
    EXPECT_EQ(test.List1().last(), "Test Socket Tray Stopped");
}

class SocketTrayPp : public DevicesFixture {
protected:
    SocketTrayPp() : DevicesFixture(Link::ParallelPort) {}
    void SetUp() override { connect(); }
};

TEST_F(SocketTrayPp, ADongleThatCannotBeSetUpNamesTheAddress) {
    s.ControllerIpAddress = QStringLiteral("10.0.0.7");
    chip.stuckConfigMode = true;
    service::SocketTrayTest test(ctx);
    EXPECT_FALSE(test.btnRunTest_Click());
    EXPECT_EQ(messages(), QStringList{"Unable To Configure 10.0.0.7"});
    EXPECT_FALSE(test.active());
    EXPECT_FALSE(ctx.busy.busy());
}

class ToolTestOn : public OnEachLink {
protected:
    // Start, Continue, then up to n cycles; the cycles that passed.
    int runCycles(service::ToolCycleTest& test, int cycles) {
        EXPECT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::AwaitContinue);
        EXPECT_TRUE(test.Command1_Click());
        int passed = 0;
        while (passed < cycles && test.Timer1_Timer())
            ++passed;
        return passed;
    }
};
INSTANTIATE_TEST_SUITE_P(Devices, ToolTestOn, AllLinks, linkName);

TEST_P(ToolTestOn, FourCyclesPassReadingTheCountersInTurn) {
    for (int a = 256; a < 262; ++a)
        model.toolEeprom[size_t(a)] = 0x55;
    service::ToolCycleTest test(ctx);
    EXPECT_EQ(runCycles(test, 4), 4);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(toolReads(), (std::vector{256, 257, 258, 259, 260, 261, 256, 257}));
    EXPECT_EQ(model.toolCounter.endOfCycles, 4);
    EXPECT_EQ(received(ids::ToolReply, 0x50), 4);
    EXPECT_EQ(test.List1().last(), "Cycle Cnt:4");
    EXPECT_EQ(test.List1().first(), "Sending End Of Cycle");
    EXPECT_TRUE(ctx.busy.busy());
}

class ToolTestPp : public DevicesFixture {
protected:
    ToolTestPp() : DevicesFixture(Link::ParallelPort) {}
    void SetUp() override { connect(); }
};

TEST_F(ToolTestPp, StartClearsTheCountersAndAsksForThePowerCycle) {
    service::ToolCycleTest test(ctx);
    EXPECT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::AwaitContinue);
    for (int a = 256; a < 262; ++a)
        EXPECT_EQ(model.toolEeprom[size_t(a)], 0) << a;
    EXPECT_EQ(test.List1(),
              (QStringList{"Clearing Count Registers",
                           "Cycle Power On The Controller And Press Continue When System Is Ready"}));
    EXPECT_TRUE(test.Command1_Click());
    EXPECT_EQ(test.List1().last(), "Cycle Timer Started");
    EXPECT_EQ(test.CountReadAddress, 256);
    EXPECT_EQ(test.SentCycleCount, 0);
}

TEST_F(ToolTestPp, AToolThatDoesNotCountFailsOnTheSecondCycle) {
    model.toolCounter.counts = false;
    service::ToolCycleTest test(ctx);
    ASSERT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::AwaitContinue);
    ASSERT_TRUE(test.Command1_Click());
    // A count of 0 after the first end of cycle passes: the tool may not have counted it yet.
    EXPECT_TRUE(test.Timer1_Timer());
    EXPECT_FALSE(test.Timer1_Timer());
    EXPECT_EQ(messages(), QStringList{"Count Received != Current Cycle Count -> Failed"});
    EXPECT_EQ(lastMessage().icon, base::MessageIcon::Critical);
    EXPECT_EQ(test.SentCycleCount, 2);
    EXPECT_FALSE(ctx.busy.busy());
    // The test has stopped: no further cycle.
    EXPECT_FALSE(test.Timer1_Timer());
    EXPECT_EQ(test.SentCycleCount, 2);
}

TEST_F(ToolTestPp, ACountOneCycleBehindPasses) {
    model.toolCounter.lag = 1;
    service::ToolCycleTest test(ctx);
    ASSERT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::AwaitContinue);
    ASSERT_TRUE(test.Command1_Click());
    for (int cycle = 0; cycle < 3; ++cycle)
        EXPECT_TRUE(test.Timer1_Timer());
    EXPECT_TRUE(messages().empty());
}

TEST_F(ToolTestPp, AFailedClearClosesTheWindow) {
    model.silentAddresses = {258};
    service::ToolCycleTest test(ctx);
    EXPECT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::CloseWindow);
    EXPECT_EQ(messages(), QStringList{"Clear Count Failed "});
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(ToolTestPp, EachDongleSetUpNamesItsOwnFailure) {
    using Prepared = service::ToolCycleTest::Prepared;
    // At the start: the controller's address.
    s.ControllerIpAddress = QStringLiteral("10.0.0.7");
    chip.stuckConfigMode = true;
    service::ToolCycleTest refused(ctx);
    EXPECT_EQ(refused.Command2_Click(), Prepared::Stopped);
    EXPECT_EQ(messages(), QStringList{"Unable To Configure 10.0.0.7"});
    EXPECT_EQ(lastMessage().caption, base::ProgramTitle);
    EXPECT_FALSE(ctx.busy.busy());

    // At a cycle's start: nothing sent.
    chip.stuckConfigMode = false;
    service::ToolCycleTest atStart(ctx);
    ASSERT_EQ(atStart.Command2_Click(), Prepared::AwaitContinue);
    ASSERT_TRUE(atStart.Command1_Click());
    chip.stuckConfigMode = true;
    EXPECT_FALSE(atStart.Timer1_Timer());
    EXPECT_EQ(messages().back(), "Unable To Configure CanDongle");
    EXPECT_EQ(model.toolCounter.endOfCycles, 0);
    EXPECT_FALSE(ctx.busy.busy());

    // After a passed check: the count is not confirmed to the tool.
    chip.stuckConfigMode = false;
    service::ToolCycleTest afterPass(ctx);
    QObject::connect(&afterPass, &service::ToolCycleTest::listChanged, [&] {
        if (afterPass.List1().last() == "Count Received = Current Cycle Count -> Passed")
            chip.stuckConfigMode = true;
    });
    ASSERT_EQ(afterPass.Command2_Click(), Prepared::AwaitContinue);
    ASSERT_TRUE(afterPass.Command1_Click());
    EXPECT_FALSE(afterPass.Timer1_Timer());
    EXPECT_EQ(messages().back(), "Unable To Configure Can Dongle");
    EXPECT_EQ(messages().size(), 3);
    EXPECT_EQ(model.toolCounter.endOfCycles, 1);
    EXPECT_EQ(received(ids::ToolReply, 0x50), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(ToolTestPp, ACancelledCycleStopsWithoutABox) {
    service::ToolCycleTest test(ctx);
    ASSERT_EQ(test.Command2_Click(), service::ToolCycleTest::Prepared::AwaitContinue);
    ASSERT_TRUE(test.Command1_Click());
    test.cancel();
    EXPECT_FALSE(test.Timer1_Timer());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.toolCounter.endOfCycles, 0);
    EXPECT_FALSE(ctx.busy.busy());
}

} // namespace
