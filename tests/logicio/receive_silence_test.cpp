// A controller that falls silent in the middle of a block receive, on USB and on the parallel port: the
// ladder editor's and the rung-table editors' receives give up on the silent block within the link's
// silence cap, counted from the last block taken. Each block's takes are transactions nested in the
// block's own, and they do not start the count again. The clock is a counting one: a USB read that
// times out moves it by the read's time, a parallel-port look by a fixed step per reading.
#include "link/blockreceive.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "link/usb.h"
#include "tests/logicio/transferfixture.h"

#include <map>

using clink::BlockReceiver;
namespace codes = clink::codes;

namespace {

template <class F> class SilentController : public logictest::TransferOnEachLink<F> {
protected:
    // The clock when each block's read began.
    class ClockedProgress : public base::Progress {
    public:
        explicit ClockedProgress(clink::ManualLinkClock& clock) : clock_(clock) {}
        void setRange(int, int) override {}
        void setValue(int block) override { startedAt[block] = clock_.nowMs(); }
        std::map<int, int64_t> startedAt;

    private:
        clink::ManualLinkClock& clock_;
    };

    void SetUp() override {
        logictest::TransferOnEachLink<F>::SetUp();
        // A parallel-port reading stands for this long: a look at the chip costs a few of them.
        this->clock.stepPerReading = PpReadingMs;
        if constexpr (requires { this->device.clock; })
            this->device.clock = &this->clock;
        this->linkCheck(clink::ids::CommandReply);
    }

    // Reads blocks 1..3 with the counts given while block 2 is never answered; checks that block 2 was
    // given up within the cap after block 1 came, was asked for no more (and, where the counts outlast
    // the cap, fewer) times than its counts allow, and that block 3 was never asked for.
    void expectGivenUpWithinTheCap(const clink::BlockReceiveCounts& counts) {
        std::vector<int> words(3 * BlockReceiver::BlockWords);
        for (size_t i = 0; i < words.size(); ++i)
            words[i] = int(0x30 + i);
        this->model.storeLogicWords(words);
        this->model.unansweredLogicBlocks = {2};
        ClockedProgress progress(this->clock);
        BlockReceiver receiver(this->link, counts);
        EXPECT_FALSE(receiver.receive(1, 3, progress));
        EXPECT_EQ(receiver.missingBlock(), 2);
        const int64_t silentFor = this->clock.nowMs() - progress.startedAt[2];
        // The count runs from the last frame taken, just before the block began; a USB read under way
        // or a look's few readings may end after the cap.
        EXPECT_LE(silentFor, clink::SilenceCapMs + clink::USB::ReadTimeoutMs) << silentFor;

        const bool pp = this->s.ConnectionType == clink::ParallelPort;
        const long allowed = pp ? counts.ppRequests : long(counts.usbExchanges) * clink::USB::UsualTries;
        const int asked = this->requestsFor(codes::LogicBlockRequest, 2);
        EXPECT_GT(asked, 0);
        EXPECT_LE(asked, allowed);
        if (pp || counts.usbExchanges > 1) {
            // The counts alone would take far longer than the cap: the cap ended the block.
            EXPECT_LT(asked, allowed);
            EXPECT_GE(silentFor, clink::SilenceCapMs - clink::USB::ReadTimeoutMs) << silentFor;
        }
        EXPECT_EQ(this->requestsFor(codes::LogicBlockRequest, 3), 0);
        // Block 1 landed where it belongs.
        for (int i = 0; i < BlockReceiver::BlockWords; ++i)
            EXPECT_EQ(this->s.DataBuffer[i], words[size_t(i)]) << "word " << i;
    }

    static constexpr int64_t PpReadingMs = 50;
};

using SlowLinks = ::testing::Types<testsupport::PpFixture, testsupport::UsbFixture>;
TYPED_TEST_SUITE(SilentController, SlowLinks);

} // namespace

TYPED_TEST(SilentController, LadderReceiveGivesUpASilentBlockWithinTheCap) {
    // USB: 25 exchanges of 11 tries of a 500 ms read would hold the program for 137.5 s.
    this->expectGivenUpWithinTheCap(ladder::ladderReceiveCounts());
}

TYPED_TEST(SilentController, RungTableReceiveGivesUpASilentBlockWithinTheCap) {
    // Parallel port: TransferDelay x 30 requests of TransferDelay x 100 looks each, minutes of looking.
    this->s.TransferDelay = 2;
    this->expectGivenUpWithinTheCap(logicio::rungTableReceiveCounts(this->s.TransferDelay));
}
