// The answer judge on a clock the cases set: which frames an exchange takes by the echo its answer carries,
// which answers an ended exchange still owes and whom they hold, whether an answer can be the last send's
// own, and that no belief formed by one exchange reaches the ones after it once its answers are due.
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
        {"tool write, the value written", ToolWrite, ids::ToolEepromReply, {0x30, 1, 5, 0x42}, true},
        {"tool write, another value", ToolWrite, ids::ToolEepromReply, {0x30, 1, 5, 0x41}, false},
        {"answer block, its number in byte 1", Block7, ids::CommandReply, {0x62, 7, 1, 2, 3, 4, 5, 6}, true},
        {"answer block of the block before", Block7, ids::CommandReply, {0x62, 6, 1, 2, 3, 4, 5, 6}, false},
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

// Plays an exchange: requests sent (S), filter frames sent (F) and answers taken (T) at their times.
void play(AnswerJudge& judge, const ReplyExpectation& x, const Frame& answer,
          std::initializer_list<std::pair<char, int64_t>> events) {
    judge.begin(x);
    for (const auto& [event, at] : events)
        event == 'T' ? judge.taken(answer, at) : judge.sent(at, event == 'S');
    judge.end();
}

TEST(AnswerJudgeOwed, LaterSendsOfAnExchangeThatEndedEarlyAreOwedUntilDueAndHoldOnlyWhoWouldTakeThem) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    const Frame answer{0x30, 1, 5, 9};
    // Once per request, 150 ms away: sends at 0 and 80 go unanswered, the first answer (to 0) at 150 draws
    // a third send, the answer to 80 ends the exchange at 230; the third send's answer is due at 300.
    play(judge, ToolRead, answer, {{'S', 0}, {'S', 80}, {'T', 150}, {'S', 150}, {'T', 230}});
    const int64_t due = 150 + 150 + Margin;
    // A read of the same address would take the owed answers: it holds its first frame until they are due.
    EXPECT_EQ(judge.holdUntil(ToolRead, 240), due);
    // A write of another value and a read of another address tell them apart by their echo.
    EXPECT_LE(judge.holdUntil(ToolWrite, 240), 240);
    EXPECT_LE(judge.holdUntil({.id = ids::ToolEepromReply, .echo = {1, 6}}, 240), 240);
    // Meanwhile the owed answer is dropped, and the write's own confirmation is taken.
    judge.begin(ToolWrite);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, answer, 300, awaiting(ToolWrite)), Verdict::Owed);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30, 1, 5, 0x42}, 301, awaiting(ToolWrite)), Verdict::Take);
    // Once due, nothing of the first exchange is left: the same frame is the next read's.
    judge.begin(ToolRead);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, answer, due, awaiting(ToolRead)), Verdict::Take);

    // An answer that carries nothing of its request is owed whatever it carries.
    play(judge, Status, {0x10, 8, 1}, {{'S', 1000}, {'S', 1080}, {'T', 1150}});
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10, 8, 2}, 1200, {}), Verdict::Owed);
    EXPECT_EQ(judge.holdUntil(Status, 1200), 1080 + 150 + Margin);

    // Answered as fast as it asked (filter frames before the request count for nothing), or not at all:
    // nothing is owed, and nothing holds the next exchange.
    play(judge, ToolRead, answer, {{'F', 1990}, {'S', 2000}, {'T', 2002}, {'S', 2002}, {'T', 2006}});
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, answer, 2007, {}), Verdict::Report);
    play(judge, ToolRead, answer, {{'S', 2010}, {'S', 2500}});
    EXPECT_LE(judge.holdUntil(ToolRead, 2501), 2501);
}

TEST(AnswerJudgeSends, AnAnswerEndsAWaitOnlyWhenItCanBeTheLastSendsOwnAndTheNextSendWaitsWhileItIsDue) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    const Frame answer{0xA0, codes::ErasePsets, 0};
    judge.begin(Erase);
    // Answered at once: the acknowledgement is the request's own, the request goes again at once.
    judge.sent(0, true);
    EXPECT_FALSE(judge.ownAnswerSinceSend());
    judge.taken(answer, 1);
    EXPECT_TRUE(judge.ownAnswerSinceSend());
    EXPECT_EQ(judge.lastAnswerDue(), -1);

    // Held 100 ms: the first answer comes after the second send went out; it is the first send's, and the
    // second send's is due one round trip after it.
    judge.begin(Erase);
    judge.sent(1000, true);
    judge.sent(1084, true);
    judge.taken(answer, 1101);
    EXPECT_FALSE(judge.ownAnswerSinceSend());
    EXPECT_EQ(judge.lastAnswerDue(), 1084 + 101);
    judge.taken(answer, 1185);
    EXPECT_TRUE(judge.ownAnswerSinceSend());
    EXPECT_EQ(judge.lastAnswerDue(), -1);
}

TEST(AnswerJudgeBeliefs, ARepeatIsACopyOnlyForItsOwnExchangeAndAQuietWaitHoldsOnlyTheLineItWaitsOn) {
    AnswerJudge judge(Margin, Tolerance, Quiet);
    // Two back-to-back requests answered with two equal frames (a presence check against a controller that
    // answers once per request): both are the exchange's, and nothing of them reaches the next exchange.
    const ReplyExpectation presence{.id = ids::NsmReply, .code = codes::NsmClock, .quietFirst = true};
    const Frame clock{codes::NsmClock, 1, 2, 3, 4, 5};
    play(judge, presence, clock, {{'S', 0}, {'S', 0}, {'T', 1}, {'T', 2}});
    judge.begin(presence);
    judge.sent(3, true);
    EXPECT_EQ(judge.judge(ids::NsmReply, clock, 4, awaiting(presence)), Verdict::Take);
    const ReplyExpectation version{.id = ids::CommandReply, .code = codes::Version, .echo = {codes::Version}};
    const Frame versionAnswer{0xA0, 0xA0, 4, 2};
    judge.begin(version);
    judge.sent(10, true);
    EXPECT_EQ(judge.judge(ids::CommandReply, versionAnswer, 11, awaiting(version)), Verdict::Take);
    judge.taken(versionAnswer, 11);
    EXPECT_EQ(judge.judge(ids::CommandReply, versionAnswer, 12, awaiting(version)), Verdict::Take);
    judge.taken(versionAnswer, 12);
    // After its reply, a repeat of an answer it took is a copy; the next exchange asking the same takes the
    // same frame as its own.
    EXPECT_EQ(judge.judge(ids::CommandReply, versionAnswer, 13, awaiting(version, true)), Verdict::Copy);
    judge.begin(version);
    judge.sent(14, true);
    EXPECT_EQ(judge.judge(ids::CommandReply, versionAnswer, 15, awaiting(version)), Verdict::Take);

    // The quiet line: an exchange whose answer carries nothing holds its first frame until nothing has come
    // on its identifier for the quiet time; what comes on it meanwhile is dropped, on other lines it is not.
    judge.end();
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10}, 100, {}), Verdict::Report);
    EXPECT_EQ(judge.holdUntil(Status, 120), 100 + Quiet);
    judge.hold(ids::StatusRequest, 100 + Quiet);
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10}, 130, {}), Verdict::Owed);
    EXPECT_EQ(judge.judge(ids::ToolEepromReply, {0x30}, 131, {}), Verdict::Report);
}

} // namespace
