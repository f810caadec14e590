// How long a transaction may wait: the silence cap counted from the last frame it accepted, on every link;
// the stop flag that ends every wait when the program closes; and the USB device set up again once per
// transaction, so every path recovers when the dongle comes back.
#include "link/commandcodes.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/ppfixture.h"
#include "tests/support/usbfixture.h"

#include <QElapsedTimer>
#include <QTimer>

using namespace clink;

namespace {

class SilenceCap : public ::testing::Test {
protected:
    testsupport::CountingEventPump pump;
    ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    ControllerLink link{pump, dialogs, clock};
    LinkState& s = link.state;
};

class UsbRecovery : public testsupport::UsbFixture {
protected:
    int sent(CanId id) const {
        return int(std::count_if(device.frames.begin(), device.frames.end(),
                                 [&](const sim::FtdiSim::Frame& f) { return f.message.id == id; }));
    }
};

class PpSilence : public testsupport::PpFixture {};
class StopFlag : public testsupport::EthernetFixture {};

} // namespace

TEST_F(SilenceCap, CountsFromTheLastAcceptedFrame) {
    s.ConnectionType = NoConnection;
    Transaction tx(link);
    clock.advance(SilenceCapMs - 1000);
    EXPECT_FALSE(tx.over());
    // An acknowledgement taken: the controller is talking, the count starts again.
    s.AwaitedId = ids::ToolEepromReply;
    s.RequestData[1] = 0;
    s.RequestData[2] = 5;
    link.ethernet.dispatch(ids::ToolEepromReply, {0x30, 0, 5, 1, 0, 0, 0, 0});
    clock.advance(SilenceCapMs - 1000);
    EXPECT_FALSE(tx.over());
    // A frame the handler does not take is no sign of life.
    link.ethernet.dispatch(ids::ToolEepromReply, {0x30, 0, 6, 1, 0, 0, 0, 0});
    clock.advance(1000);
    EXPECT_TRUE(tx.over());
    EXPECT_TRUE(tx.over(0));
    // Waits are cut to what is left, and no wait is left once over.
    pump.budgetSpent = 0;
    link.pump.pause(100);
    EXPECT_EQ(pump.budgetSpent, 0);
}

TEST_F(SilenceCap, OutsideATransactionWaitsKeepTheirWholeBudget) {
    clock.advance(SilenceCapMs * 3);
    link.pump.pause(1000);
    EXPECT_EQ(pump.budgetSpent, 1000);
    EXPECT_FALSE(link.transactions.over());
}

TEST_F(UsbRecovery, AFailedWriteSetsTheDeviceUpAgainOncePerTransaction) {
    const int opens = device.opens;
    device.writeFails = 3;
    model.toolEeprom[5] = 0x35;
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(5)); // three tries fail, the fourth reads
    EXPECT_EQ(device.opens, opens + 1);
    EXPECT_EQ(s.DataBuffer[0], 0x35);
    device.writeFails = 1;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(5)); // the next transaction may set it up again
    EXPECT_EQ(device.opens, opens + 2);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(UsbRecovery, AFailedSetUpIsRetriedQuietlyByEveryTransactionUntilTheDongleIsBack) {
    device.noDevice = true;
    EXPECT_FALSE(link.usb.ReopenDevice());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{UsbSetupFailedText});
    ASSERT_TRUE(s.UsbFailed);
    // Paths without a link check of their own: nothing goes out, and no storm of set-up boxes.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(link.dataTx.ReadSystemStatus());
        EXPECT_FALSE(link.dataTx.ShowDataArray());
    }
    EXPECT_TRUE(device.frames.empty());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    // The dongle is plugged in again: the next status read sets it up and reads.
    device.noDevice = false;
    ASSERT_TRUE(link.dataTx.ReadSystemStatus());
    EXPECT_FALSE(s.UsbFailed);
    EXPECT_EQ(s.SystemStatus.PsetCount, model.psetCount);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(UsbRecovery, ASilentDongleEndsAtTheSilenceCapNotAfter6001ReadTimeOuts) {
    device.clock = &clock;
    model.noReply.insert(ids::CommandRequest);
    const int64_t start = clock.nowMs();
    EXPECT_FALSE(link.dataTx.ReadRundownResult());
    // About twenty reads of 500 ms (the filter frame's among them), not 6001.
    EXPECT_LE(clock.nowMs() - start, SilenceCapMs);
    EXPECT_GE(sent(ids::CommandRequest), int(SilenceCapMs / USB::ReadTimeoutMs) - 3);
    EXPECT_LT(sent(ids::CommandRequest), int(SilenceCapMs / USB::ReadTimeoutMs));
}

TEST_F(PpSilence, ACountedPollEndsAtTheSilenceCapWithItsFailureBox) {
    s.TransferDelay = 8; // 240 passes of 480 polls: minutes of reading a silent controller
    clock.stepPerReading = 1;
    model.noReply.insert(ids::NsmRequest);
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"NSM Settings Not Received"});
    EXPECT_LT(model.countReceived(ids::NsmRequest), 240);
    EXPECT_GT(model.countReceived(ids::NsmRequest), 0);
}

TEST_F(PpSilence, ATransferThatKeepsHearingIsNotCut) {
    // Each location costs seconds of clock readings, all nine far more than the cap; every answer taken
    // starts the count again.
    configure(ids::NsmReply);
    clock.stepPerReading = 1000;
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.DataCount, 9);
    EXPECT_GT(clock.nowMs(), 2 * SilenceCapMs);
}

TEST_F(StopFlag, ClosingTheProgramEndsAWaitingTransactionAtOnceAndQuietly) {
    model.noReply.insert(ids::CommandRequest);
    QTimer::singleShot(100, [&] { pump.stop(); });
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(link.dataTx.SendControlCommand(clink::codes::ResetLogicDefaults));
    EXPECT_LT(t.elapsed(), 1000);
    // Every later wait ends at once too; nothing is shown.
    t.restart();
    EXPECT_FALSE(link.dataTx.ReadSystemStatus());
    EXPECT_FALSE(link.dataTx.ReadPsetBlock(1));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(StopFlagCounting, AStoppedPumpSpendsNoBudget) {
    testsupport::CountingEventPump pump;
    ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    ControllerLink link{pump, dialogs, clock};
    link.pump.stop();
    EXPECT_TRUE(pump.stopped());
    EXPECT_FALSE(link.pump.waitUntil([] { return false; }, 100000));
    {
        Transaction tx(link);
        EXPECT_TRUE(tx.over());
    }
    EXPECT_EQ(pump.budgetSpent, 0);
}

TEST_F(StopFlag, ASilentControllerIsLeftAtTheSilenceCapOnTheRealClock) {
    // The control command's counts would wait for minutes (5001 sends, each with its own wait).
    model.noReply.insert(ids::CommandRequest);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(link.dataTx.SendControlCommand(clink::codes::ResetLogicDefaults));
    EXPECT_LT(t.elapsed(), SilenceCapMs + 2000); // generous: a loaded machine
    EXPECT_TRUE(dialogs.messages.empty());
}
