// Answers that come late, twice, or after their exchange ended: the exchange that follows never takes them as
// its own. The rule itself on a clock the cases set, then whole exchanges back to back against the stand-in's
// dongle holding, repeating or spacing its frames: a block receive and then DSP reads and writes, the serial
// output's read and then its set.
#include "app/blockreceiver.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "link/owedanswers.h"
#include "logicio/logictransfer.h"
#include "service/serialout.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

using namespace clink;
namespace codes = clink::codes;

namespace {

constexpr int64_t Margin = 80;
constexpr int64_t Tolerance = 12;
const std::array<int, 8> Answer{0x30, 1, 2, 3, 0, 0, 0, 0};
const std::array<int, 8> OtherAnswer{0x30, 1, 2, 4, 0, 0, 0, 0};

TEST(OwedAnswerRule, LaterSendsOfAnExchangeThatEndedEarlyAreOwedForOneRoundTripAndTheMargin) {
    // Once per request, 150 ms away: sends at 0 and 80 go unanswered, the first answer (to 0) at 150 draws
    // a third send, the answer to 80 ends the exchange at 230; the third send's answer is due at 300.
    OwedAnswers owed(Margin, Tolerance);
    owed.begin(ids::ToolEepromReply);
    owed.sent(0, true);
    owed.sent(80, true);
    owed.taken(ids::ToolEepromReply, Answer, 150);
    owed.sent(150, true);
    owed.taken(ids::ToolEepromReply, Answer, 230);
    owed.end();
    EXPECT_EQ(owed.owedUntil(ids::ToolEepromReply), 150 + 150 + Margin);
    EXPECT_TRUE(owed.owes(ids::ToolEepromReply, OtherAnswer, 300));
    EXPECT_FALSE(owed.owes(ids::ToolReply, OtherAnswer, 300)) << "only the identifier awaited";
    EXPECT_FALSE(owed.owes(ids::ToolEepromReply, OtherAnswer, 150 + 150 + Margin));

    // An acknowledgement and the reply 150 ms away: the send at 80 is owed both.
    owed.begin(ids::CommandReply);
    owed.sent(1000, true);
    owed.sent(1080, true);
    owed.taken(ids::CommandReply, Answer, 1150);
    owed.taken(ids::CommandReply, Answer, 1150);
    owed.end();
    EXPECT_EQ(owed.owedUntil(ids::CommandReply), 1080 + 150 + Margin);
}

TEST(OwedAnswerRule, AnExchangeAnsweredAsFastAsItAskedOwesNothing) {
    OwedAnswers owed(Margin, Tolerance);
    // Once per request: the acknowledgement draws the second send, whose answer ends it.
    owed.begin(ids::ToolEepromReply);
    owed.sent(0, true);
    owed.taken(ids::ToolEepromReply, Answer, 3);
    owed.sent(3, true);
    owed.taken(ids::ToolEepromReply, Answer, 7);
    owed.end();
    EXPECT_LE(owed.owedUntil(ids::ToolEepromReply), 7);
    EXPECT_FALSE(owed.owes(ids::ToolEepromReply, Answer, 8));
    // Filter frames before the request neither start the round trip nor count as sends.
    owed.begin(ids::StatusRequest);
    owed.sent(10, false);
    owed.taken(ids::StatusRequest, Answer, 12);
    owed.sent(20, true);
    owed.taken(ids::StatusRequest, Answer, 21);
    owed.end();
    EXPECT_FALSE(owed.owes(ids::StatusRequest, Answer, 22));
}

TEST(OwedAnswerRule, AnExchangeThatHeardNothingOwesNothing) {
    // A silent controller: the next exchange's counts are not lengthened by a wait for answers never seen.
    OwedAnswers owed(Margin, Tolerance);
    owed.begin(ids::NsmReply);
    owed.sent(0, true);
    owed.sent(500, true);
    owed.end();
    EXPECT_EQ(owed.owedUntil(ids::NsmReply), 0);
    EXPECT_FALSE(owed.owes(ids::NsmReply, Answer, 501));
}

TEST(OwedAnswerRule, ALineThatRepeatsOwesTheCopyOfTheLastFrameTaken) {
    OwedAnswers owed(Margin, Tolerance);
    // Two equal frames in one arrival (an acknowledgement and its reply) do not make a repeating line, nor
    // do equal answers to two requests.
    owed.arrived(ids::DspReply, Answer, 1);
    owed.arrived(ids::DspReply, Answer, 1);
    owed.sent(0, true);
    owed.arrived(ids::DspReply, Answer, 2);
    EXPECT_FALSE(owed.repeatingLine());
    owed.begin(ids::DspReply);
    owed.sent(10, true);
    owed.arrived(ids::DspReply, Answer, 3);
    owed.taken(ids::DspReply, Answer, 11);
    owed.end();
    EXPECT_FALSE(owed.owes(ids::DspReply, Answer, 12)) << "not yet known to repeat";
    // The same frame again in the next arrival, with nothing sent between: a copy.
    owed.arrived(ids::DspReply, Answer, 4);
    EXPECT_TRUE(owed.repeatingLine());
    owed.begin(ids::DspReply);
    owed.sent(20, true);
    owed.taken(ids::DspReply, Answer, 21);
    owed.end();
    EXPECT_TRUE(owed.owes(ids::DspReply, Answer, 25));
    EXPECT_FALSE(owed.owes(ids::DspReply, OtherAnswer, 25)) << "a different answer is not a copy";
    EXPECT_FALSE(owed.owes(ids::DspReply, Answer, 21 + Margin));
}

// ---- whole exchanges against the stand-in's dongle ----

struct Dongle {
    const char* name;
    int holdMs = 0;
    bool ackThenReply = true;
    int repeatGapMs = -1; // >= 0: every frame repeated, the copy written apart
    int frameGapMs = -1;
};

void PrintTo(const Dongle& d, std::ostream* os) {
    *os << d.name;
}

constexpr int Blocks = 4;
constexpr int DspWords = 6;
constexpr int DspFirstAddress = 0x40;

class OwedAcrossExchanges : public testsupport::EthernetFixture,
                            public ::testing::WithParamInterface<Dongle> {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        const Dongle& d = GetParam();
        dongle.replyDelay = d.holdMs;
        dongle.ackThenReply = d.ackThenReply;
        dongle.duplicateReplies = d.repeatGapMs >= 0;
        dongle.repeatGapMs = d.repeatGapMs;
        dongle.frameGapMs = d.frameGapMs;
        for (int block = 0; block <= Blocks; ++block)
            for (size_t i = 0; i < 6; ++i)
                model.logicBlocks[block][i] = uint8_t((block * 37 + int(i) * 11 + 5) & 0xFF);
        for (size_t i = 0; i < model.dspBytes.size(); ++i)
            model.dspBytes[i] = uint8_t((i * 29 + 3) & 0xFF);
    }

    // Receives blocks 1..Blocks as the editor with these counts does; every byte must be the controller's.
    void receiveBlocks(const app::BlockReceiveCounts& counts) {
        app::BlockReceiver receiver(link, counts);
        ASSERT_TRUE(receiver.receive(1, Blocks)) << "block " << receiver.missingBlock();
        for (int block = 1; block <= Blocks; ++block)
            for (int i = 0; i < 6; ++i)
                ASSERT_EQ(s.DataBuffer[6 * (block - 1) + i], model.logicBlocks[block][size_t(i)])
                    << "block " << block << " byte " << i;
    }

    // Reads DspWords words right away; every byte read must be the controller's, low byte first.
    void readDspRightAway() {
        link.dataTx.ClearReceiveBuffer();
        for (int w = 0; w < DspWords; ++w)
            ASSERT_TRUE(link.dataTx.ReadDspEeprom(DspFirstAddress + 2 * w)) << "word " << w;
        ASSERT_EQ(s.DataCount, 2 * DspWords);
        for (int i = 0; i < 2 * DspWords; ++i)
            EXPECT_EQ(s.DataBuffer[i], model.dspBytes[size_t(DspFirstAddress + i)]) << "DSP byte " << i;
    }

    void writeDspRightAway() {
        std::vector<int> written;
        for (int w = 0; w < DspWords; ++w) {
            const int value = 0x0102 * (w + 1) + 0x4000;
            written.push_back(value);
            ASSERT_TRUE(link.dataTx.WriteDspEeprom(DspFirstAddress + 2 * w, value)) << "word " << w;
        }
        for (int w = 0; w < DspWords; ++w) {
            EXPECT_EQ(model.dspBytes[size_t(DspFirstAddress + 2 * w)], written[size_t(w)] & 0xFF) << w;
            EXPECT_EQ(model.dspBytes[size_t(DspFirstAddress + 2 * w + 1)], written[size_t(w)] >> 8) << w;
        }
    }
};

TEST_P(OwedAcrossExchanges, ALogicReceiveThenADspReadTakesEveryByteFromItsOwnAnswer) {
    receiveBlocks(logicio::rungTableReceiveCounts(s.TransferDelay));
    readDspRightAway();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_P(OwedAcrossExchanges, ALadderReceiveThenDspWritesAndAReadBackStoreAndTakeTheirOwnValues) {
    receiveBlocks(ladder::ladderReceiveCounts());
    writeDspRightAway();
    readDspRightAway();
}

TEST_P(OwedAcrossExchanges, AReadOfTheSerialOutputThenASetReportsTheModeSet) {
    model.serialOut.mode = 0;
    service::SerialOutExchange serialOut(link);
    ASSERT_EQ(serialOut.read(), std::optional<int>(0));
    // The set comes at once: the read's extra requests are still being answered with the old mode.
    EXPECT_EQ(serialOut.set(1), std::optional<int>(1));
    EXPECT_EQ(model.serialOut.mode, 1);
    // A read a moment later agrees.
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + 50);
    EXPECT_EQ(serialOut.read(), std::optional<int>(1));
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, OwedAcrossExchanges,
    ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held40", 40},
                      Dongle{"held150", 150}, Dongle{"held400", 400}, Dongle{"held150Once", 150, false},
                      Dongle{"held400Once", 400, false}, Dongle{"repeating", 0, true, 3},
                      Dongle{"repeatingOnce", 0, false, 3}, Dongle{"held40Repeating", 40, true, 5},
                      Dongle{"framesApart", 0, true, -1, 4}, Dongle{"held150FramesApart", 150, true, -1, 20}),
    [](const ::testing::TestParamInfo<Dongle>& info) { return std::string(info.param.name); });

} // namespace
