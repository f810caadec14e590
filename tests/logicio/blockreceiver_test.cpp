// The block-by-block receive the logic and ladder editors share: blocks land at their own place on each
// link whatever the buffer held, a block that never comes is asked for exactly as often as its counts say,
// and on Ethernet a socket that drops ends the receive. (Answers that come twice or late meet it in the
// seeded runs against the simulated line.)
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "tests/logicio/transferfixture.h"


#include <random>

using clink::BlockReceiver;
namespace codes = clink::codes;

namespace {

template <class F> class BlockReceiverTest : public logictest::TransferOnEachLink<F> {};
TYPED_TEST_SUITE(BlockReceiverTest, linktest::LinkFixtures);

template <class F> class SilentBlockTest : public logictest::TransferOnEachLink<F> {};
TYPED_TEST_SUITE(SilentBlockTest, logictest::SilentLinks);

// The ladder editor's counts: its image is blocks 0..109.
const clink::BlockReceiveCounts LadderCounts{.ppRequests = 30,
                                           .ppLooks = 25,
                                           .ethernetLead = clink::EthernetBlockLead::FilterFrame,
                                           .ethernetSettle = 1000,
                                           .ethernetAttempts = 50,
                                           .ethernetWait = 301,
                                           .usbExchanges = 25};

std::vector<int> pseudoRandomWords(int count) {
    std::mt19937 gen(20060110);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<int> words(static_cast<size_t>(count));
    for (int& w : words)
        w = byte(gen);
    return words;
}

// Stale contents of an earlier transfer, and a count that points elsewhere.
void staleBuffer(clink::LinkState& s) {
    for (int i = 0; i < 1000; ++i)
        s.DataBuffer.put(i, 0x55);
    s.DataCount = 999;
}

void expectWords(const clink::LinkState& s, const std::vector<int>& words) {
    for (size_t i = 0; i < words.size(); ++i)
        ASSERT_EQ(s.DataBuffer[int(i)], words[i]) << "word " << i;
}

} // namespace

TYPED_TEST(BlockReceiverTest, LadderBlocksFromZeroLandAtTheirOwnPlace) {
    this->linkCheck(clink::ids::CommandReply);
    const std::vector<int> words = pseudoRandomWords(110 * 6);
    this->model.storeLogicWords(words, 0);
    staleBuffer(this->s);
    BlockReceiver receiver(this->link, LadderCounts);
    ASSERT_TRUE(receiver.receive(0, 109, this->progress));
    EXPECT_EQ(receiver.missingBlock(), -1);
    expectWords(this->s, words);
    EXPECT_EQ(this->progress.minimum, 0);
    EXPECT_EQ(this->progress.maximum, 109);
    EXPECT_EQ(this->progress.last(), 109) << "the bar keeps the last block";
    const std::vector<int> asked = this->blocksReceived(codes::LogicBlockRequest);
    EXPECT_EQ(asked.front(), 0);
    EXPECT_EQ(asked.back(), 109);
}

TYPED_TEST(SilentBlockTest, ABlockThatNeverComesIsAskedForAsOftenAsItsCountsSay) {
    this->linkCheck(clink::ids::CommandReply);
    // The link's clock stands still: the counts alone end the wait, not the silence cap.
    this->clock.stepPerReading = 0;
    this->s.TransferDelay = 2;
    this->model.unansweredLogicBlocks = {7};
    BlockReceiver receiver(this->link, logicio::rungTableReceiveCounts(this->s.TransferDelay));
    EXPECT_FALSE(receiver.receive(5, 9));
    EXPECT_EQ(receiver.missingBlock(), 7);

    // Parallel port: TransferDelay x 30 requests; Ethernet: the first request and 501 attempts; USB: one
    // exchange of 11 tries.
    const int expected = this->s.ConnectionType == clink::ParallelPort ? 60
                         : this->s.ConnectionType == clink::TcpIp      ? 502
                                                                       : 11;
    // Ethernet: the stand-in may still be reading the last requests.
    testsupport::waitFor([&] { return this->requestsFor(codes::LogicBlockRequest, 7) >= expected; }, 5000);
    EXPECT_EQ(this->requestsFor(codes::LogicBlockRequest, 7), expected);
    EXPECT_EQ(this->requestsFor(codes::LogicBlockRequest, 8), 0);
    EXPECT_GE(this->requestsFor(codes::LogicBlockRequest, 6), 1);
}

class SilentEthernetBlock : public logictest::TransferOnEachLink<logictest::CountingEthernetFixture> {};

TEST_F(SilentEthernetBlock, EachBlockWaitsItsSettleItsSendsAndOneSharedBudget) {
    linkCheck(clink::ids::CommandReply);
    clock.stepPerReading = 0;
    model.unansweredLogicBlocks = {7};
    s.ReplyReady = false;
    pump.budgetSpent = 0;
    BlockReceiver receiver(link, logicio::rungTableReceiveCounts(1));
    EXPECT_FALSE(receiver.receive(7, 7));
    // 502 sends each waiting 4001 x 2 DoEvents for the answer, 100 after the first, and the 3001 the
    // waits after the attempts share.
    EXPECT_EQ(pump.budgetSpent, 502L * clink::Ethernet::SendWaitCycles * 2 + 100 + 3001);
}

class PpBlocks : public logictest::TransferOnEachLink<testsupport::PpFixture> {};

TEST_F(PpBlocks, EachRequestIsFollowedByItsLooksWithoutWaiting) {
    linkCheck(clink::ids::CommandReply);
    // The link's clock stands still: the counts alone end the wait, not the silence cap.
    clock.stepPerReading = 0;
    s.TransferDelay = 2;
    model.unansweredLogicBlocks = {7};
    const int reads = chip.intfReads;
    BlockReceiver receiver(link, logicio::rungTableReceiveCounts(s.TransferDelay));
    EXPECT_FALSE(receiver.receive(7, 7));
    EXPECT_EQ(chip.intfReads - reads, 60 * 200);
}

TEST_F(PpBlocks, NoLinkAndBlocksOutsideTheFramesReadNothing) {
    BlockReceiver receiver(link, logicio::rungTableReceiveCounts(1));
    EXPECT_FALSE(receiver.receive(1, 256));
    EXPECT_FALSE(receiver.receive(5, 4));
    EXPECT_EQ(receiver.missingBlock(), -1);
    s.ConnectionType = clink::NoConnection;
    EXPECT_FALSE(receiver.receive(1, 2));
    EXPECT_EQ(receiver.missingBlock(), 1);
    EXPECT_TRUE(blocksReceived(codes::LogicBlockRequest).empty());
}

// --- Ethernet: a socket that drops ---

class EthernetBlocks : public logictest::TransferOnEachLink<testsupport::EthernetFixture> {};

TEST_F(EthernetBlocks, ASocketDroppedMidReceiveEndsWithTheAbortMessage) {
    controllerFor(logicio::LogicVariant::Version3);
    module.rungs() = logictest::sampleProgram(logicio::LogicVariant::Version3);
    dongle.closeAfterReplies = 100;
    answer(true);
    const app::TransferResult result = transfer(logicio::LogicVariant::Version3).receive(progress);
    EXPECT_EQ(result.outcome, app::TransferOutcome::Aborted);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{logicio::NotReceivedText});
    EXPECT_TRUE(module.rungs() == logictest::newProgram());
    EXPECT_GT(progress.highest(), 1);
    EXPECT_LT(progress.highest(), 117);
    EXPECT_FALSE(link.socket.isConnected());
}
