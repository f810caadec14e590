// The answer judge on a clock the cases set: which frames an exchange takes by the echo its answer carries
// (0 a value like any other), which answers an ended exchange still owes whichever it took, when an
// acknowledgement may end a wait, and which frames are copies of frames taken before.
#include "link/answerjudge.h"
#include "link/commandcodes.h"

#include <gtest/gtest.h>

using namespace clink;
using Verdict = AnswerJudge::Verdict;

namespace {

constexpr int64_t Margin = 80;
constexpr int64_t Tolerance = 12;
constexpr int64_t Quiet = 80;

using Frame = std::array<int, 8>;

AnswerJudge::Awaited awaiting(const ReplyExpectation& x, bool replied = false) {
    return {.id = x.id, .code = x.code, .echo = x.echo, .replied = replied};
}

struct EchoCase {
    const char* what;
    ReplyExpectation awaited;
    CanId id;
    Frame d;
    bool taken;
};

const ReplyExpectation ToolRead{.id = ids::ToolEepromReply, .echo = {1, 5}};
const ReplyExpectation ToolRead6{.id = ids::ToolEepromReply, .echo = {1, 6}};
const ReplyExpectation ToolRead0{.id = ids::ToolEepromReply, .echo = {0, 0}};
const ReplyExpectation Block0{
    .id = ids::CommandReply, .code = codes::LogicBlockRequest, .echo = {codes::LogicBlockRequest, 0}};
const ReplyExpectation ToolWrite{.id = ids::ToolEepromReply, .echo = {1, 5, 0x42}, .exactEcho = true};
const ReplyExpectation Block7{
    .id = ids::CommandReply, .code = codes::LogicBlockRequest, .echo = {codes::LogicBlockRequest, 7}};
const ReplyExpectation LogicSend3{
    .id = ids::CommandReply, .code = codes::LogicBlock, .echo = {codes::LogicBlock, 3}};
const ReplyExpectation Erase{.id = ids::CommandReply, .code = codes::ErasePsets, .echo = {codes::ErasePsets}};
const ReplyExpectation Packet2{.id = ids::CommandReply, .code = 2};
const ReplyExpectation DspRead{.id = ids::DspReply, .echo = {0, 0x2C, 1}};
const ReplyExpectation ToolData{.id = ids::ToolReply, .code = 0xD1, .echo = {0xD1}};
const ReplyExpectation Status{.id = ids::StatusRequest, .code = codes::Status, .quietFirst = true};

TEST(AnswerJudgeEcho, AnExchangeTakesOnlyAnswersCarryingItsCodeAndEcho) {
    const EchoCase cases[] = {
        {"tool read, its address", ToolRead, ids::ToolEepromReply, {0x30, 1, 5, 9}, true},
        {"tool read, another address", ToolRead, ids::ToolEepromReply, {0x30, 1, 6, 9}, false},
        {"tool read at address 0, another address", ToolRead0, ids::ToolEepromReply, {0x30, 0, 1, 9}, false},
        {"tool read at address 0, its own", ToolRead0, ids::ToolEepromReply, {0x30, 0, 0, 9}, true},
        {"tool write, the value written", ToolWrite, ids::ToolEepromReply, {0x30, 1, 5, 0x42}, true},
        {"tool write, another value", ToolWrite, ids::ToolEepromReply, {0x30, 1, 5, 0x41}, false},
        {"answer block, its number in byte 1", Block7, ids::CommandReply, {0x62, 7, 1, 2, 3, 4, 5, 6}, true},
        {"answer block of the block before", Block7, ids::CommandReply, {0x62, 6, 1, 2, 3, 4, 5, 6}, false},
        {"answer block 0, block 1's answer", Block0, ids::CommandReply, {0x62, 1, 1, 2, 3, 4, 5, 6}, false},
        {"logic send, its block acknowledged", LogicSend3, ids::CommandReply, {0xA0, 0x61, 3}, true},
        {"logic send, another block's", LogicSend3, ids::CommandReply, {0xA0, 0x61, 2}, false},
        {"erase, acknowledged whatever byte 2", Erase, ids::CommandReply, {0xA0, 0x76, 5}, true},
        {"Pset packet, its code only", Packet2, ids::CommandReply, {2, 9, 9, 9, 9, 9, 9, 9}, true},
        {"DSP read, its address low and high", DspRead, ids::DspReply, {0x30, 0, 0x2C, 1, 7, 8}, true},
        {"DSP read, another address", DspRead, ids::DspReply, {0x30, 0, 0x2E, 1, 7, 8}, false},
        {"tool data, its code whatever follows", ToolData, ids::ToolReply, {0xD1, 0, 4, 5, 6, 7}, true},
        {"status, a status", Status, ids::StatusRequest, {0x10, 8, 1, 5, 0x29, 9}, true},
        {"status, the serial-output mode", Status, ids::StatusRequest, {0xC2, 1}, false},
    };
    for (const EchoCase& c : cases) {
        AnswerJudge judge(Margin, Tolerance, Quiet);
        judge.begin(c.awaited);
        judge.sent(0, true);
        EXPECT_EQ(judge.judge(c.id, c.d, 1, awaiting(c.awaited)), c.taken ? Verdict::Take : Verdict::Stray)
            << c.what;
    }
    // No exchange awaits anything: the controller's own frames go to their handlers.
    AnswerJudge judge(Margin, Tolerance, Quiet);
    EXPECT_EQ(judge.judge(ids::StatusBroadcast, {0x10, 8}, 1, {}), Verdict::Report);
}

// Plays an exchange: requests sent (S), filter frames sent (F), acknowledgements (A) and replies (R) taken.
void play(AnswerJudge& judge, const ReplyExpectation& x, const Frame& answer,
          std::initializer_list<std::pair<char, int64_t>> events) {
    judge.begin(x);
    for (const auto& [event, at] : events)
        if (event == 'A' || event == 'R')
            judge.taken(answer, at, event == 'R');
        else
            judge.sent(at, event == 'S');
    judge.end();
}

TEST(AnswerJudgeOwed, EveryRequestLeftUnansweredIsOwedWhicheverAnswersItsExchangeTook) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    const Frame answer{0x30, 1, 5, 9};
    // Once per request, 150 ms away: sends at 0 and 80 go unanswered, the first answer (to 0) at 150 draws
    // a third send, the answer to 80 ends the exchange at 230; the third send's answer is owed.
    play(judge, ToolRead, answer, {{'S', 0}, {'S', 80}, {'A', 150}, {'S', 150}, {'R', 230}});
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::AnswersOnce);
    // A write of the same address sends at once: the owed answer is dropped, its own confirmation taken.
    judge.begin(ToolWrite);
    judge.sent(240, true);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, answer, 300, awaiting(ToolWrite)), Verdict::Owed);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30, 1, 5, 0x42}, 301, awaiting(ToolWrite)), Verdict::Take);
    judge.taken({0x30, 1, 5, 0x42}, 301, true);
    // Once it has come, nothing of the first exchange is owed: a read takes the value written.
    judge.begin(ToolRead);
    judge.sent(302, true);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30, 1, 5, 0x42}, 303, awaiting(ToolRead)), Verdict::Take);

    // A Pset chosen, its status answer later than the sender's wait: the status read after it drops that
    // answer and takes the next, though the read had sent before it came.
    const ReplyExpectation select{.id = ids::StatusRequest, .code = codes::Status};
    play(judge, select, {}, {{'S', 1000}});
    judge.begin(Status);
    judge.sent(1050, true);
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10, 8, 1}, 1061, awaiting(Status)), Verdict::Owed);
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10, 8, 2}, 1111, awaiting(Status)), Verdict::Take);

    // Answered as fast as it asked (filter frames before the request count for nothing), or by a
    // controller never heard: nothing is owed.
    play(judge, ToolRead, answer, {{'F', 1990}, {'S', 2000}, {'A', 2002}, {'S', 2002}, {'R', 2006}});
    judge.begin(ToolRead6);
    judge.sent(2007, true);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30, 1, 6, 9}, 2008, awaiting(ToolRead6)), Verdict::Take);
    AnswerJudge fresh(Margin, Tolerance, Quiet);
    play(fresh, ToolRead, answer, {{'S', 2010}, {'S', 2500}});
    EXPECT_EQ(fresh.judge(ids::ToolEepromReply, answer, 2600, {}), Verdict::Report);
}

TEST(AnswerJudgeSends, AnAcknowledgementEndsAWaitOnlyOnceTheControllerShowedItAnswersOncePerRequest) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    const Frame answer{0xA0, codes::ErasePsets, 0};
    // Nothing shown yet: the acknowledgement is progress; the reply comes to the next request.
    judge.begin(Erase);
    judge.sent(0, true);
    judge.taken(answer, 1, false);
    EXPECT_FALSE(judge.ownAnswerSinceSend());
    EXPECT_EQ(judge.acknowledgedSinceSendAt(), 1);
    judge.sent(81, true);
    EXPECT_EQ(judge.acknowledgedSinceSendAt(), -1);
    judge.taken(answer, 82, true);
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::AnswersOnce);
    // Now an acknowledgement is all its request draws: the reply needs a request of its own, which waits
    // for no answer of the first.
    judge.begin(Erase);
    judge.sent(100, true);
    EXPECT_TRUE(judge.needsAnotherRequest());
    EXPECT_EQ(judge.lastAnswerDue(), -1);
    judge.taken(answer, 101, false);
    EXPECT_TRUE(judge.ownAnswerSinceSend());
    judge.sent(125, true);
    EXPECT_FALSE(judge.needsAnotherRequest());
    EXPECT_EQ(judge.lastAnswerDue(), 125 + 1);
    // A controller that replies 60 ms after its acknowledgement, unasked: it acknowledges.
    judge.begin(Erase);
    judge.sent(200, true);
    judge.taken(answer, 201, false);
    judge.taken(answer, 261, true);
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::Acknowledges);

    // Held 100 ms: the first answer comes after the second send went out; it is the first send's, and the
    // second send's is due one round trip after it.
    judge.begin(Erase);
    judge.sent(1000, true);
    judge.sent(1084, true);
    judge.taken(answer, 1101, false);
    EXPECT_FALSE(judge.ownAnswerSinceSend());
    EXPECT_EQ(judge.lastAnswerDue(), 1084 + 101);
    // Before any answer, the line's last round trip tells when it is due.
    judge.begin(Erase);
    judge.sent(2000, true);
    EXPECT_EQ(judge.lastAnswerDue(), 2000 + 101);
    // A new connection may reach another controller: nothing learned of the last one holds.
    judge.forgetController();
    judge.begin(Erase);
    judge.sent(3000, true);
    EXPECT_EQ(judge.lastAnswerDue(), -1);
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::Unknown);
}

TEST(AnswerJudgeBeliefs,
     CopiesOutliveTheirExchangeForTheCopyTimeAndAnAnswerCarryingNothingWaitsForItsRequest) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    // Two back-to-back requests answered with two equal frames (a presence check against a controller that
    // answers once per request): both are the exchange's.
    const ReplyExpectation presence{.id = ids::NsmReply, .code = codes::NsmClock, .quietFirst = true};
    const Frame clock{codes::NsmClock, 1, 2, 3, 4, 5};
    judge.begin(presence);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 0, awaiting(presence)), Verdict::Stray)
        << "before its request";
    judge.sent(1, true);
    judge.sent(1, true);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 2, awaiting(presence)), Verdict::Take);
    judge.taken(clock, 2, false);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 3, awaiting(presence)), Verdict::Take);
    judge.taken(clock, 3, true);
    // The next check waits until copies of those can no longer come; one that comes before is a copy.
    EXPECT_EQ(judge.holdUntil(presence, 4), 3 + 2 * Quiet);
    judge.begin(presence);
    judge.sent(100, true);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 120, awaiting(presence)), Verdict::Copy);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 3 + 2 * Quiet, awaiting(presence)), Verdict::Take);

    // A read, a write of another value, a read again: a copy of the first read's answer is not the second
    // read's; the write's answer may be (the value just written, read back).
    const Frame before{0x30, 1, 5, 9};
    const Frame written{0x30, 1, 5, 0x42};
    play(judge, ToolRead, before, {{'S', 1000}, {'A', 1001}, {'R', 1001}});
    play(judge, ToolWrite, written, {{'S', 1010}, {'A', 1011}, {'R', 1011}});
    judge.begin(ToolRead);
    judge.sent(1020, true);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, before, 1070, awaiting(ToolRead)), Verdict::Copy);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, written, 1071, awaiting(ToolRead)), Verdict::Take);

    // The quiet line: what comes on the identifier held is dropped, on other lines it is not.
    judge.end();
    judge.hold(ids::StatusRequest, 2000);
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10}, 1990, {}), Verdict::Owed);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30}, 1991, {}), Verdict::Report);
    EXPECT_EQ(judge.holdUntil(Status, 1995), 1990 + Quiet);
}

} // namespace
