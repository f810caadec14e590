// The answer judge on a clock the cases set: which frames an exchange takes by the echo its answer carries
// (0 a value like any other), when its requests may go out (no owed answer, no copy of an earlier
// transaction's frame, no answer its last request still draws), and what shows how the controller frames
// its answers and what drops that belief.
#include "link/answerjudge.h"
#include "link/commandcodes.h"

#include <gtest/gtest.h>

using namespace clink;
using Verdict = AnswerJudge::Verdict;

namespace {

const LineTimes Times;

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
    bool acknowledged = false; // the exchange has its acknowledgement
    bool idle = false;         // no transaction runs
};

const ReplyExpectation ToolRead{.id = ids::ToolEepromReply, .echo = {1, 5}};
const ReplyExpectation ToolRead6{.id = ids::ToolEepromReply, .echo = {1, 6}};
const ReplyExpectation ToolRead0{.id = ids::ToolEepromReply, .echo = {0, 0}};
const ReplyExpectation Block0{
    .id = ids::CommandReply, .code = codes::LogicBlockRequest, .echo = {codes::LogicBlockRequest, 0}};
const ReplyExpectation ToolWrite{
    .id = ids::ToolEepromReply, .echo = {1, 5, 0x42}, .exactEcho = true, .changes = true};
const ReplyExpectation Block7{
    .id = ids::CommandReply, .code = codes::LogicBlockRequest, .echo = {codes::LogicBlockRequest, 7}};
const ReplyExpectation LogicSend3{
    .id = ids::CommandReply, .code = codes::LogicBlock, .echo = {codes::LogicBlock, 3}};
const ReplyExpectation Erase{.id = ids::CommandReply, .code = codes::ErasePsets, .echo = {codes::ErasePsets}};
const ReplyExpectation Packet2{.id = ids::CommandReply, .code = 2};
const ReplyExpectation DspRead{.id = ids::DspReply, .code = codes::EepromAnswer, .echo = {0, 0x2C, 1}};
const ReplyExpectation ToolData{.id = ids::ToolReply, .code = 0xD1, .echo = {0xD1}};
const ReplyExpectation Status{.id = ids::StatusRequest, .code = codes::Status, .quietFirst = true};
const ReplyExpectation Revision{
    .id = ids::ToolReply, .code = codes::DspRevision, .echo = {codes::DspRevision}};
// Told by their codes alone.
const ReplyExpectation Reset{.id = ids::CommandReply, .code = codes::ResetLogicDefaults};
const ReplyExpectation EraseAlone{.id = ids::CommandReply, .code = codes::ErasePsets};
const ReplyExpectation LogicAlone{.id = ids::CommandReply, .code = codes::LogicBlock};
const ReplyExpectation Presence{.id = ids::TransducerReply2, .quietFirst = true};

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
        {"0x63 by its code, a second acknowledgement",
         Reset,
         ids::CommandReply,
         {0xA0, 0x63, 5},
         false,
         true},
        {"erase by its code, a second acknowledgement",
         EraseAlone,
         ids::CommandReply,
         {0xA0, 0x76, 5},
         true,
         true},
        {"logic block by its code, any block's acknowledgement",
         LogicAlone,
         ids::CommandReply,
         {0x61, 7},
         true},
        {"logic block by its code, no reply", LogicAlone, ids::CommandReply, {0x61, 7}, false, true},
        {"presence check, an EEPROM answer", Presence, ids::TransducerReply2, {0x30, 0, 5, 9}, false},
        {"Pset packet outside a transaction", Packet2, ids::CommandReply, {2, 9}, false, false, true},
    };
    for (const EchoCase& c : cases) {
        AnswerJudge judge(Times);
        judge.begin(c.awaited);
        judge.sent(0, true);
        AnswerJudge::Awaited a = awaiting(c.awaited);
        a.acknowledged = c.acknowledged;
        a.idle = c.idle;
        EXPECT_EQ(judge.judge(c.id, c.d, 1, a), c.taken ? Verdict::Take : Verdict::Stray) << c.what;
    }
    // No exchange awaits anything: the controller's own frames go to their handlers.
    AnswerJudge judge(Times);
    EXPECT_EQ(judge.judge(ids::StatusBroadcast, {0x10, 8}, 1, {}), Verdict::Report);
}

// Plays requests sent (S), acknowledgements (A) and replies (R) taken, judging each answer first.
void play(AnswerJudge& judge, const ReplyExpectation& x, const Frame& answer,
          std::initializer_list<std::pair<char, int64_t>> events) {
    for (const auto& [event, at] : events)
        if (event == 'S') {
            judge.sent(at, true);
        } else {
            ASSERT_EQ(judge.judge(x.id, answer, at, awaiting(x, false)), Verdict::Take) << at;
            judge.taken(answer, at, event == 'R');
        }
}

TEST(AnswerJudgeRequests, NoRequestGoesOutWhileAnAnswerItWouldDuplicateCanStillCome) {
    AnswerJudge judge(Times);
    const Frame ack{0xA0, codes::ErasePsets, 0};
    // Nothing timed yet: the answer may take the longest hold a controller is given.
    judge.begin(Erase);
    judge.sent(0, true);
    EXPECT_EQ(judge.nextRequestAt(1), Times.untimedHold);
    // An acknowledgement: the reply of a controller that acknowledges may follow within the gap.
    play(judge, Erase, ack, {{'A', 10}});
    EXPECT_EQ(judge.nextRequestAt(20), 10 + Times.maxAckGap);
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::Unknown);
    // None came in all that time: the controller answers once per request, and the reply is asked for.
    play(judge, Erase, ack, {{'S', 10 + Times.maxAckGap}, {'R', 180}});
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::AnswersOnce);
    // Now the reply's request goes out at once, and the round trip timed (10 ms) paces the rest. The next
    // exchange waits only until a controller that acknowledges after all would have begun to send the last
    // request's two frames: right after the reply, and a round trip after the request.
    judge.begin(Erase);
    const int64_t at = judge.firstRequestAt(181);
    EXPECT_EQ(at, 180 + Times.tolerance);
    // Before then, a frame like those taken, beyond what the belief counted on: the belief goes.
    AnswerJudge beyond = judge;
    EXPECT_EQ(beyond.judge(Erase.id, ack, 185, awaiting(Erase)), Verdict::Owed);
    EXPECT_EQ(beyond.framing(), AnswerJudge::Framing::Unknown);
    judge.sent(at, true);
    EXPECT_TRUE(judge.needsAnotherRequest());
    EXPECT_EQ(judge.nextRequestAt(at), at);
    judge.sent(at, true);
    EXPECT_FALSE(judge.needsAnotherRequest()) << "its two requests are out";
    play(judge, Erase, ack, {{'A', at + 10}, {'R', at + 11}});
    // A third answer to the two requests: the controller answered more than once per request.
    EXPECT_EQ(judge.judge(Erase.id, ack, at + 12, awaiting(Erase, true)), Verdict::Copy);
    EXPECT_EQ(judge.framing(), AnswerJudge::Framing::Unknown);
    judge.begin(Erase);
    judge.sent(at + 100, true);
    EXPECT_EQ(judge.nextRequestAt(at + 100), at + 100 + Times.senderWait);
    // A frame on the identifier that is not the exchange's is an earlier answer still leaving the unit:
    // its reply, and then this request's answer, may follow.
    EXPECT_EQ(judge.judge(Erase.id, {0xA0, codes::ClearRundowns}, at + 150, awaiting(Erase)), Verdict::Stray);
    EXPECT_EQ(judge.nextRequestAt(at + 160), at + 150 + Times.maxAckGap);

    // Without the sender's wait, the round trip timed and at least the tolerance pace the next request.
    AnswerJudge quick({.senderWait = 0});
    quick.begin(Erase);
    play(quick, Erase, ack, {{'S', 0}, {'R', 10}});
    quick.begin(Erase);
    quick.sent(100, true);
    EXPECT_EQ(quick.nextRequestAt(100), 100 + 10 + Times.tolerance);

    // Believed to answer once, a reply that comes to a single request sooner than any copy could: the
    // controller acknowledges.
    for (const int64_t gap : {int64_t(5), Times.copyEarliest, Times.copyEarliest + 20}) {
        AnswerJudge once(Times);
        once.begin(Erase);
        play(once, Erase, ack, {{'S', 0}, {'A', 1}, {'S', 1 + Times.maxAckGap}, {'R', 170}});
        once.begin(Erase);
        play(once, Erase, ack, {{'S', 1000}, {'A', 1001}, {'R', 1001 + gap}});
        EXPECT_EQ(once.framing() == AnswerJudge::Framing::Unknown, gap < Times.copyEarliest) << gap;
        // The DSP acknowledges its revision request whatever the controller's framing: no sign of either.
        once.begin(Revision);
        play(once, Revision, {codes::DspRevision, 4, 7}, {{'S', 1500}, {'A', 1501}, {'R', 1502}});
        EXPECT_EQ(once.framing() == AnswerJudge::Framing::Unknown, gap < Times.copyEarliest) << gap;
        // A new connection may reach another controller: nothing learned of the last one holds.
        once.forgetController();
        once.begin(Erase);
        once.sent(2000, true);
        EXPECT_EQ(once.framing(), AnswerJudge::Framing::Unknown);
        EXPECT_EQ(once.nextRequestAt(2000), 2000 + Times.untimedHold);
    }
}

TEST(AnswerJudgeRequests, AFirstRequestWaitsOutOwedAnswersAndOnALineThatRepeatsFramesTheirCopies) {
    AnswerJudge judge(Times);
    const Frame before{0x30, 1, 5, 9};
    judge.transactionBegins();
    judge.begin(ToolRead);
    play(judge, ToolRead, before, {{'S', 1}, {'A', 11}, {'R', 12}});
    // A later transaction, on a line that has passed no frame twice: its request goes at once, and the same
    // frame again is its answer: nothing changed what the controller holds since it said so.
    judge.transactionBegins();
    judge.begin(ToolRead);
    EXPECT_EQ(judge.firstRequestAt(20), 20);
    play(judge, ToolRead, before, {{'S', 20}, {'A', 30}, {'R', 31}});
    judge.begin(ToolWrite);
    play(judge, ToolWrite, {0x30, 1, 5, 0x42}, {{'S', 32}, {'A', 42}, {'R', 43}});
    // After a write, the same frame as long after it as a gateway repeats one: the controller's answer with
    // the value as it was, or a copy. It is held until the controller's own must have come (its 10 ms and a
    // tick, or on a line that delivered a frame cut, the time a frame takes to come whole)...
    judge.transactionBegins();
    judge.begin(ToolRead);
    judge.sent(40, true);
    AnswerJudge whole = judge;
    EXPECT_EQ(whole.judge(ToolRead.id, before, 50, awaiting(ToolRead)), Verdict::Hold);
    EXPECT_LT(whole.heldUntil(), 40 + 10 + Times.frameTime) << "no frame came cut";
    judge.frameCut();
    const int64_t by = 40 + 10 + Times.frameTime;
    for (const int64_t at : {50, 51})
        EXPECT_EQ(judge.judge(ToolRead.id, before, at, awaiting(ToolRead)), Verdict::Hold);
    EXPECT_EQ(judge.heldUntil(), by);
    EXPECT_EQ(judge.nextRequestAt(52), by) << "no request while they are held";
    EXPECT_TRUE(judge.releaseHeld(by - 1).empty());
    // ... and taken then, as nothing else came: the acknowledgement and the reply.
    const auto released = judge.releaseHeld(by);
    ASSERT_EQ(released.size(), 2U);
    for (const auto& a : released)
        judge.taken(a.d, a.at, &a == &released.back(), a.timed);
    EXPECT_FALSE(judge.copiesSeen());
    // Another exchange after a change: a held frame gives way to a different answer, the controller's, and
    // the line has shown it passes frames twice.
    judge.transactionBegins();
    judge.begin(ToolRead);
    judge.sent(100, true);
    EXPECT_EQ(judge.judge(ToolRead.id, before, 109, awaiting(ToolRead)), Verdict::Hold);
    EXPECT_EQ(judge.judge(ToolRead.id, {0x30, 1, 5, 7}, 110, awaiting(ToolRead)), Verdict::Take);
    EXPECT_TRUE(judge.releaseHeld(by + 100).empty());
    EXPECT_TRUE(judge.copiesSeen());
    judge.taken({0x30, 1, 5, 7}, 110, false);
    // One like the earlier frame after what the exchange took is that one's copy.
    EXPECT_EQ(judge.judge(ToolRead.id, before, 115, awaiting(ToolRead)), Verdict::Copy);

    // From now on a copy of a frame heard before a transaction asked could pass for its answer: the first
    // request waits until none can come.
    judge.transactionBegins();
    judge.begin(ToolRead);
    const int64_t copied = Times.copy + Times.tolerance;
    EXPECT_EQ(judge.firstRequestAt(120), 115 + copied);
    // So does an exchange that changes the value first, within the transaction.
    judge.transactionBegins();
    judge.begin(ToolRead);
    play(judge, ToolRead, before, {{'S', 1000}, {'A', 1010}, {'R', 1011}});
    judge.begin(ToolWrite);
    EXPECT_EQ(judge.firstRequestAt(1020), 1020) << "a confirmation of another value is not its answer";
    play(judge, ToolWrite, {0x30, 1, 5, 0x42}, {{'S', 1020}, {'A', 1030}, {'R', 1031}});
    judge.begin(ToolRead);
    EXPECT_EQ(judge.firstRequestAt(1040), 1011 + copied);

    // An exchange that ends before its answers came owes them: the next one that would take them waits
    // until they are due, one round trip (10 ms, at least the sender's wait) and the gap for a reply after.
    judge.begin(ToolRead);
    judge.sent(2000, true);
    judge.end();
    judge.begin(ToolRead6);
    EXPECT_EQ(judge.firstRequestAt(2001), 2001) << "another address";
    judge.begin(ToolRead);
    const int64_t due = 2000 + Times.senderWait + Times.maxAckGap + Times.tolerance;
    EXPECT_EQ(judge.firstRequestAt(2001), due);
    judge.sent(due, true);
    // Past their due time, one like them is held until a controller as slow as it shows would answer.
    EXPECT_EQ(judge.judge(ToolRead.id, before, due + 50, awaiting(ToolRead)), Verdict::Hold);
    EXPECT_EQ(judge.heldUntil(), due + (due + 50 - 2000) + Times.tolerance);
    // A frame that comes before the request is not its answer, and may be an old one whose copy is still
    // to come; an answer that carries nothing waits for a quiet line as well, as long as a copy takes.
    judge.begin(Status);
    EXPECT_EQ(judge.judge(ids::StatusRequest, {0x10, 8, 1}, 3000, awaiting(Status)), Verdict::Stray);
    EXPECT_EQ(judge.firstRequestAt(3010), 3000 + copied);
    judge.transactionBegins();
    judge.begin(Status);
    play(judge, Status, {0x10, 8, 1}, {{'S', 4000}, {'R', 4001}});
    judge.begin(Status);
    EXPECT_EQ(judge.firstRequestAt(4010), 4001 + Times.quiet) << "the status this transaction took";
    // On a line that has shown no copies, only as long as a dongle that repeats frames at once takes, and
    // not for what the same transaction heard.
    AnswerJudge fresh(Times);
    fresh.begin(Status);
    play(fresh, Status, {0x10, 8, 1}, {{'S', 0}, {'R', 1}});
    fresh.begin(Status);
    EXPECT_EQ(fresh.firstRequestAt(2), 2);
    fresh.transactionBegins();
    fresh.begin(Status);
    EXPECT_EQ(fresh.firstRequestAt(2), 1 + Times.copyEarliest);

    // Like an earlier frame and later than the controller answers the request: a copy, or a controller
    // slower than timed (40 ms). The next answer like an earlier frame is held as long again as the round
    // trips timed differ.
    AnswerJudge slow(Times);
    slow.begin(ToolRead);
    play(slow, ToolRead, before, {{'S', 0}, {'A', 10}, {'R', 11}});
    slow.transactionBegins();
    slow.begin(ToolRead);
    slow.sent(100, true);
    EXPECT_EQ(slow.judge(ToolRead.id, before, 140, awaiting(ToolRead)), Verdict::Copy);
    for (const int64_t at : {141, 142}) { // its own answers, read late
        ASSERT_EQ(slow.judge(ToolRead.id, {0x30, 1, 5, 7}, at, awaiting(ToolRead)), Verdict::Take);
        slow.taken({0x30, 1, 5, 7}, at, at == 142, false);
    }
    slow.begin(ToolWrite); // nothing sent: what was taken before may be a value no longer held
    slow.begin(ToolRead);
    slow.sent(200, true);
    EXPECT_EQ(slow.judge(ToolRead.id, before, 210, awaiting(ToolRead)), Verdict::Hold);
    EXPECT_EQ(slow.heldUntil(), 200 + 40 + (40 - 10));
    // Of held answers unlike each other, one that repeats what the controller said last before that change
    // is the copy, though it came nearer the round trip.
    EXPECT_EQ(slow.judge(ToolRead.id, {0x30, 1, 5, 7}, 220, awaiting(ToolRead)), Verdict::Hold);
    const auto own = slow.releaseHeld(270);
    ASSERT_EQ(own.size(), 1U);
    EXPECT_EQ(own.front().d, before);

    // A dongle that repeats frames at once passes the answer again 5 ms later, and an exchange right after
    // in the same transaction takes that copy (the value the controller holds): it times nothing. The next
    // transaction's frame like it, 5 ms after its request, came sooner than the controller answers (40 ms):
    // held, not taken.
    AnswerJudge echoed(Times);
    echoed.begin(ToolRead);
    play(echoed, ToolRead, before, {{'S', 0}, {'A', 40}, {'R', 41}});
    echoed.begin(ToolRead);
    play(echoed, ToolRead, before, {{'S', 42}, {'A', 45}, {'R', 46}});
    echoed.transactionBegins();
    echoed.begin(ToolRead);
    echoed.sent(100, true);
    EXPECT_EQ(echoed.judge(ToolRead.id, before, 105, awaiting(ToolRead)), Verdict::Hold);

    // The status moves on by itself: like the one taken a moment ago, it is held all the same.
    AnswerJudge moving(Times);
    moving.begin(Status);
    play(moving, Status, {0x10, 8, 1}, {{'S', 0}, {'R', 10}});
    moving.transactionBegins();
    moving.begin(Status);
    moving.sent(50, true);
    EXPECT_EQ(moving.judge(ids::StatusRequest, {0x10, 8, 1}, 60, awaiting(Status)), Verdict::Hold);
}

} // namespace
