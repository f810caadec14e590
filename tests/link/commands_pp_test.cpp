// What is particular to the parallel port: the status is awaited rather than asked for, the dongle is
// configured by the reads themselves, the polls and cycles of each transaction, and the version read
// against the clock.
#include "link/commandcodes.h"
#include "link/ppexchange.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/ppfixture.h"

#include <QTimer>

#include <algorithm>

using namespace clink;

namespace {

class CommandsPp : public testsupport::PpFixture {
protected:
    int sent(CanId id, int code) const {
        return int(std::count_if(chip.transmitted.begin(), chip.transmitted.end(),
                                 [&](const CanMessage& m) { return m.id == id && m.data[0] == code; }));
    }
    void silence() { model.noReply = {ids::CommandRequest, ids::CurveRequest, ids::CurveRequest2}; }
};

const QString AbortedText = QStringLiteral("Unable To Configure Can Dongle - Transfer Aborted");

} // namespace

TEST_F(CommandsPp, StatusPollCountIsTheLimitTimesTransferDelayAtMost32000) {
    chip.broadcastEvery = 0;
    s.TransferDelay = 8;
    long limit = DataTx::StatusPollLimit;
    const int readsBefore = chip.intfReads;
    EXPECT_FALSE(link.dataTx.ReadSystemStatus(limit));
    EXPECT_EQ(limit, 32000);
    EXPECT_EQ(chip.intfReads - readsBefore, 32000);
    EXPECT_TRUE(chip.transmitted.empty()); // nothing is asked: the status is broadcast
    s.TransferDelay = 2;
    limit = DataTx::StatusPollLimit;
    EXPECT_FALSE(link.dataTx.ReadSystemStatus(limit));
    EXPECT_EQ(limit, 10000);
}

TEST_F(CommandsPp, OtherMessagesOnTheStatusIdentifierDoNotEndTheWait) {
    model.psetCount = 4;
    // Put on the bus once the dongle listens for the status (the read pumps events at every poll).
    QTimer::singleShot(0, [&] { chip.emitSpontaneous({ids::StatusBroadcast, {0x11, 9, 9, 9, 9, 9, 9, 9}}); });
    ASSERT_TRUE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(s.SystemStatus.PsetCount, 4);
    ASSERT_GE(chip.delivered.size(), 2u);
    EXPECT_EQ(chip.delivered.front().data[0], 0x11);
}

TEST_F(CommandsPp, TheReadsConfigureTheDongleAndSayWhenTheyCannot) {
    chip.dongleAbsent = true;
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(1));
    EXPECT_FALSE(link.dataTx.ReadParameterSets(1));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, AbortedText);
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, base::MessageIcon::Critical);
    }
    EXPECT_TRUE(chip.transmitted.empty());
}

TEST_F(CommandsPp, AnotherPacketCostsTheAttemptAndTheRequestGoesOutAgain) {
    // On the bus once the dongle is configured, before the first request.
    QTimer::singleShot(0, [&] { chip.emitSpontaneous({ids::CommandReply, {2, 7, 7, 7, 7, 7, 7, 7}}); });
    ASSERT_TRUE(link.dataTx.ReadPsetBlock(1));
    EXPECT_EQ(std::count(chip.transmitted.begin(), chip.transmitted.end(),
                         CanMessage{ids::CommandRequest, {0x75, 1, 1, 0, 0, 0, 0, 0}}),
              2);
    EXPECT_EQ(s.DataCount, 28);
    EXPECT_EQ(s.DataBuffer[7], model.psets[1][7]);
}

TEST_F(CommandsPp, AnAcknowledgementForAnotherBlockIsDiscardedAndTheWaitGoesOn) {
    configure(ids::CommandReply);
    chip.armEvent({ids::CommandReply, {0xA0, 0x61, 5, 0, 0, 0, 0, 0}});
    s.DataBuffer.put(18, 0x42);
    ASSERT_TRUE(link.dataTx.SendLogicIoProgram(4));
    EXPECT_EQ(sent(ids::CommandRequest, 0x61), 1);
    EXPECT_EQ(model.logicBlocks[4][0], 0x42);
    // The acknowledgement wait on its own finds nothing.
    EXPECT_FALSE(link.dataTx.SendLogicIoBlock(4));
}

TEST_F(CommandsPp, TheLogicReceiveNeverWaits) {
    configure(ids::CommandReply);
    const int readsBefore = chip.intfReads;
    EXPECT_FALSE(link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, 1));
    EXPECT_EQ(chip.intfReads - readsBefore, 1);
    EXPECT_TRUE(chip.transmitted.empty());
    // A waiting answer for another block is cleared and gives false.
    chip.emitSpontaneous({ids::CommandReply, {0x62, 2, 1, 1, 1, 1, 1, 1}});
    EXPECT_FALSE(link.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, 1));
    EXPECT_EQ(s.DataCount, 0);
}

TEST_F(CommandsPp, SilenceEndsEachTransactionAfterItsCycles) {
    silence();
    configure(ids::CommandReply);
    EXPECT_EQ(link.dataTx.SendSystemCommand(), 0);
    EXPECT_EQ(sent(ids::CommandRequest, 0xA0), 30); // TransferDelay x 30
    EXPECT_FALSE(link.dataTx.SendControlCommand(codes::ErasePsets));
    EXPECT_EQ(sent(ids::CommandRequest, 0x76), 30);
    EXPECT_FALSE(link.dataTx.SendPsetData({0x71, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sent(ids::CommandRequest, 0x71), 80);
    EXPECT_FALSE(link.dataTx.SendLogicIoProgram(1));
    EXPECT_FALSE(link.dataTx.SendPlcProgram({0x61, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sent(ids::CommandRequest, 0x61), 30 + 30);
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(2));
    EXPECT_EQ(sent(ids::CommandRequest, 0x75), 30); // the first packet's attempts
    configure(ids::CurveReply);
    EXPECT_FALSE(link.dataTx.RequestCurveData(1, 0));
    EXPECT_EQ(sent(ids::CurveRequest, 0x0F), 60);
}

// The version read waits against the clock (one thousandth of a day, cut to the silence cap) and pumps
// events now and then.
TEST(CommandsPpClock, TheVersionReadSendsOnceAndKeepsTheWindowLive) {
    testsupport::CountingEventPump pump;
    ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    sim::ControllerModel model;
    sim::SpiChip chip{&model};
    ControllerLink link{pump, dialogs, clock};
    ASSERT_TRUE(chip.open());
    link.spi.usePort(chip);
    link.state.ConnectionType = ParallelPort;
    link.state.TransferDelay = 1;
    link.spi.InitializePort();
    ASSERT_TRUE(link.dataTx.ConfigureCanDongle(ids::CommandReply));
    model.noReply.insert(ids::CommandRequest);
    clock.stepPerReading = 10;

    const int64_t start = clock.nowMs();
    EXPECT_FALSE(link.dataTx.ReadSccVersion());
    const int64_t waited = clock.nowMs() - start;
    ASSERT_EQ(chip.transmitted.size(), 1u);
    EXPECT_EQ(chip.transmitted[0], (CanMessage{ids::CommandRequest, {0xA0, 0, 0, 0, 0, 0, 0, 0}}));
    // A silent controller: ten seconds, not a thousandth of a day; a DoEvents every 256 looks meanwhile.
    EXPECT_GE(waited, SilenceCapMs);
    EXPECT_LT(waited, SilenceCapMs + 100);
    EXPECT_GE(pump.doEventsCalls, SilenceCapMs / 20 / PpExchange::PollsPerYield);

    model.noReply.clear();
    model.verMajor = 5;
    model.verMinor = 7;
    ASSERT_TRUE(link.dataTx.ReadSccVersion());
    EXPECT_EQ(link.state.SccVersionText, "5.07");
}
