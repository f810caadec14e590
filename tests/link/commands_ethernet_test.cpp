// What is particular to Ethernet: the frames on the wire, the received text the logic receive leaves alone,
// the status that cannot be taken, and the bounds every pass loop keeps when the controller is silent.
#include "base/numbertext.h"
#include "link/commandcodes.h"
#include "tests/link/silentlinks.h"
#include "tests/support/ethernetfixture.h"

using namespace clink;

namespace {

// A controller that answers once per request.
class CommandsEthernet : public testsupport::EthernetFixture {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        ASSERT_FALSE(dongle.ackThenReply) << "the stand-in answers once per request";
    }
};

// The link on a pump that never waits: a silent controller costs no time.
class SilentEthernet : public linktest::CountingEthernetFixture {
protected:
    void SetUp() override {
        CountingEthernetFixture::SetUp();
        model.noReply = {ids::StatusRequest, ids::CommandRequest, ids::CurveRequest};
    }
    // Requests with this identifier and code the controller has received, once the socket has delivered
    // all of them.
    int requests(CanId id, int code, int expected) {
        testsupport::waitFor([&] { return model.countReceived(id, code) >= expected; }, 5000);
        testsupport::waitFor([] { return false; }, 20);
        return model.countReceived(id, code);
    }
};

} // namespace

TEST_F(CommandsEthernet, PsetReadAndSendFramesOnTheWire) {
    ASSERT_TRUE(link.dataTx.ReadPsetBlock(2));
    // Five filter frames, then the first packet's request.
    ASSERT_GE(dongle.frames.size(), 6u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dongle.frames[size_t(i)].message, (CanMessage{ids::CommandReply, {}}));
    EXPECT_EQ(dongle.frames[5].accept, ids::CommandReply);
    EXPECT_EQ(dongle.frames[5].message, (CanMessage{ids::CommandRequest, {0x75, 2, 1, 0, 0, 0, 0, 0}}));

    dongle.frames.clear();
    ASSERT_TRUE(link.dataTx.SendPsetData({0x71, 1, 2, 3, 4, 5, 6, 7}));
    ASSERT_GE(dongle.frames.size(), 7u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dongle.frames[size_t(i)].message, (CanMessage{ids::CommandReply, {}}));
    EXPECT_EQ(dongle.frames[6].message, (CanMessage{ids::CommandRequest, {0x71, 1, 2, 3, 4, 5, 6, 7}}));
}

TEST_F(CommandsEthernet, AControlCommandGoesOutBehindItsFilterFrame) {
    ASSERT_TRUE(link.dataTx.SendControlCommand(codes::ErasePsets));
    EXPECT_EQ(dongle.frames.front().message, (CanMessage{ids::CommandReply, {}}));
    EXPECT_EQ(dongle.frames.back().message, (CanMessage{ids::CommandRequest, {0x76, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(CommandsEthernet, LogicReceiveLeavesHalfReceivedTextForTheParser) {
    // A block receive awaits the answer blocks.
    Transaction tx(link);
    s.AwaitedId = ids::CommandReply;
    s.AwaitedCode = codes::LogicBlockRequest;
    s.EthernetRxText = "%CAN,79,120,64,8,98,3,";
    EXPECT_FALSE(link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, 3));
    EXPECT_EQ(s.EthernetRxText, QByteArray("%CAN,79,120,64,8,98,3,"));
    // The rest of the frame completes it: the first answer acknowledges, the next one stores.
    s.RequestData[2] = 3;
    s.AckReceived = true;
    s.ReplyReady = false;
    s.DataCount = 0;
    link.ethernet.onDataArrival("1,2,3,4,5,6,NAC%\r\n");
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataCount, 6);
    EXPECT_EQ(s.DataBuffer[5], 6);
}

TEST_F(SilentEthernet, AStatusFieldThatIsNoByteIsDroppedWithItsFrame) {
    // A field above 255 garbles the frame: it is dropped whole, nothing of it is taken, no box comes up,
    // and the read ends when the controller has said nothing usable for the silence cap.
    int offers = 0;
    link.offerPsetReset = [&] { ++offers; };
    model.noReply.clear();
    model.psetCount = 300;
    pump.clock = &clock;
    const SystemStatusRecord before = s.SystemStatus;
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_GT(model.countReceived(ids::StatusRequest), 0);
    EXPECT_EQ(s.SystemStatus.SystemStatusLines, before.SystemStatusLines);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(offers, 0);
    // Ten seconds of waiting, to the clock's millisecond.
    EXPECT_NEAR(double(pump.budgetSpent * base::DoEventsSlice.count()), SilenceCapMs * 1e6, 1e6);
}

TEST_F(SilentEthernet, StatusReadEndsAfter6001PassesEachPumpingBeforeItsSend) {
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(requests(ids::StatusRequest, 0, 6001), 6001);
    EXPECT_EQ(pump.budgetSpent, 6001L * 12000 + 6001 * 3);
}

TEST_F(SilentEthernet, VersionAndCommandsEndWithinTheirBounds) {
    EXPECT_EQ(link.dataTx.SendSystemCommand(), 0);
    EXPECT_EQ(requests(ids::CommandRequest, 0xA0, 501), 501);
    model.received.clear();
    EXPECT_FALSE(link.dataTx.ReadSccVersion());
    EXPECT_EQ(requests(ids::CommandRequest, 0xA0, 502), 502); // once before the passes
    EXPECT_FALSE(s.VersionReadPending);
    pump.budgetSpent = 0;
    EXPECT_FALSE(link.dataTx.SendControlCommand(codes::ResetLogicDefaults));
    EXPECT_EQ(requests(ids::CommandRequest, 0x63, 5001), 5001);
    // The filter frame's settling, each send's own wait and one further wait.
    EXPECT_EQ(pump.budgetSpent, 100 + 5001L * 8002 + 301);
}

TEST_F(SilentEthernet, PsetTransfersEndWithinTheirBounds) {
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(1));
    EXPECT_EQ(requests(ids::CommandRequest, 0x75, 5001), 5001);
    model.received.clear();
    EXPECT_FALSE(link.dataTx.ReadParameterSets(1));
    EXPECT_EQ(requests(ids::CommandRequest, 0x75, 5001), 5001);
    EXPECT_TRUE(s.PsetReportTable[1].Texts[0].isEmpty());
    EXPECT_FALSE(link.dataTx.SendPsetData({0x72, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests(ids::CommandRequest, 0x72, 1000), 1000);
}

TEST_F(SilentEthernet, LogicLadderAndCurvesEndWithinTheirBounds) {
    EXPECT_FALSE(link.dataTx.SendLogicIoProgram(1));
    EXPECT_EQ(requests(ids::CommandRequest, 0x61, 501), 501);
    model.received.clear();
    EXPECT_FALSE(link.dataTx.SendPlcProgram({0x61, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests(ids::CommandRequest, 0x61, 51), 51);
    EXPECT_FALSE(link.dataTx.RequestCurveData(1, 300));
    EXPECT_EQ(requests(ids::CurveRequest, 0x0F, 51), 51);
    // Without a reply the request's own bytes remain: curve 1 and index 2C 01 read as samples.
    EXPECT_EQ(s.CurveUploadData[1], 0x2C * 256 + 1);
    EXPECT_EQ(s.CurveUploadData[2], 1);
}

TEST_F(SilentEthernet, TheDataLoggerCurveCannotBeCollectedOverEthernet) {
    model.noReply.clear();
    EXPECT_FALSE(link.dataTx.RequestCurveDataAlt(1, 0));
    EXPECT_EQ(requests(ids::CurveRequest2, 0x0F, 51), 51);
    // The controller did answer, on an identifier this link has no handler for.
    ASSERT_FALSE(dongle.frames.empty());
    EXPECT_EQ(dongle.frames.front().message, (CanMessage{ids::CurveReply2, {}}));
    EXPECT_GT(dongle.repliesSent(), 0);
}

TEST_F(SilentEthernet, ADeadSocketEndsEveryTransactionAtOnce) {
    // A transaction that starts with the socket down fails before it sends or waits anything.
    link.socket.close();
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(1));
    EXPECT_FALSE(link.dataTx.ReadParameterSets(1));
    EXPECT_FALSE(link.dataTx.SendPsetData({0x71, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(link.dataTx.SendPlcProgram({0x61, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(link.dataTx.SendLogicIoProgram(1));
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(link.dataTx.SendSystemCommand(), 0);
    EXPECT_FALSE(link.dataTx.ReadSccVersion());
    EXPECT_FALSE(link.dataTx.SendControlCommand(codes::ResetLogicDefaults));
    EXPECT_FALSE(link.dataTx.RequestCurveData(1, 0));
    EXPECT_FALSE(link.dataTx.ReadToolEeprom(5));
    EXPECT_FALSE(link.dataTx.WriteToolEeprom(5, 1));
    EXPECT_FALSE(link.dataTx.ReadDspEeprom(5));
    EXPECT_FALSE(link.dataTx.WriteTransducerEeprom(5, 1));
    EXPECT_EQ(pump.budgetSpent, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    // The NSM read ends with its own failure box.
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Error Collecting Data"});
    EXPECT_EQ(pump.budgetSpent, 0);
    testsupport::waitFor([] { return false; }, 20);
    EXPECT_TRUE(model.received.empty());
}

TEST_F(SilentEthernet, TheSocketLostMidwayEndsTheTransactionAtItsNextSend) {
    // The socket goes away during the first wait: the next send is refused and nothing more is waited.
    int waits = 0;
    pump.betweenPolls = [&] {
        QCoreApplication::processEvents();
        if (++waits == 3)
            link.socket.close();
    };
    EXPECT_FALSE(link.dataTx.SendControlCommand(codes::ResetLogicDefaults));
    EXPECT_LT(pump.budgetSpent, 2 * 8002 + 301 + 100);
    EXPECT_LE(model.countReceived(ids::CommandRequest, 0x63), 1);
}

TEST_F(SilentEthernet, EveryTransactionEndsAtTheSilenceCap) {
    // A controller that says nothing: the counts would mean minutes; the cap ends each transaction once
    // ten seconds of waiting have passed since it started.
    pump.clock = &clock;
    model.noReply.insert({ids::ToolEepromRequest, ids::NsmRequest, ids::DspReadRequest, ids::CurveRequest});
    const long cap = long(SilenceCapMs * 1000000 / base::DoEventsSlice.count());
    const long oneMs = long(1000000 / base::DoEventsSlice.count()); // the clock's resolution
    const std::vector<std::pair<const char*, std::function<bool()>>> transactions = {
        {"status", [&] { return link.dataTx.ReadSystemStatus(); }},
        {"control", [&] { return link.dataTx.SendControlCommand(codes::ResetLogicDefaults); }},
        {"version", [&] { return link.dataTx.SendSystemCommand() != 0; }},
        {"pset read", [&] { return link.dataTx.ReadPsetBlock(1); }},
        {"pset send",
         [&] {
             return link.dataTx.SendPsetData({0x71, 0, 0, 0, 0, 0, 0, 0});
         }},
        {"rundown result", [&] { return link.dataTx.ReadRundownResult(); }},
        {"tool eeprom", [&] { return link.dataTx.ReadToolEeprom(5); }},
        {"calibration start", [&] { return link.dataTx.StartCalibration() != CalibrationPending; }},
    };
    for (const auto& [name, run] : transactions) {
        pump.budgetSpent = 0;
        EXPECT_FALSE(run()) << name;
        EXPECT_LE(pump.budgetSpent, cap + oneMs) << name;
        EXPECT_GE(pump.budgetSpent, cap * 9 / 10) << name; // the counts alone would have gone on
    }
}
