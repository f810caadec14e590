// The link against a simulated controller and line, in virtual time: seeded random runs of the link's
// transactions hold every rule after every transaction (values, requests against the timeline, the
// controller's own frames kept apart, time), whatever the framing, timing, delivery, copies and own frames;
// so do the lines that once broke them, and every seed that ever broke one.
#include "tests/support/linksim/linksim.h"

#include <gtest/gtest.h>

namespace {

using sim::Delivery;
using sim::Framing;
using sim::LineSettings;

constexpr int SeedsPerBlock = 25;
constexpr int Blocks = 10;
constexpr int TransactionsPerSeed = 100;

// No rule broken, and nothing failed: the simulated line loses nothing, so every transaction completes.
void expectHeld(const linksim::RunResult& result) {
    for (const linksim::Violation& v : result.violations)
        ADD_FAILURE() << v.reproduction();
    EXPECT_GT(result.transactions, 0);
    for (const auto& [kind, tally] : result.tally)
        EXPECT_EQ(tally.failed, 0) << kind;
}

class SeededRuns : public ::testing::TestWithParam<int> {};

TEST_P(SeededRuns, HoldEveryRuleAfterEveryTransaction) {
    linksim::RunOptions options;
    options.transactions = TransactionsPerSeed;
    long transactions = 0;
    for (int i = 0; i < SeedsPerBlock; ++i) {
        const linksim::RunResult result =
            linksim::runSeed(uint64_t(GetParam() * SeedsPerBlock + i + 1), options);
        transactions += result.transactions;
        expectHeld(result);
    }
    EXPECT_EQ(transactions, long(SeedsPerBlock) * TransactionsPerSeed);
}

INSTANTIATE_TEST_SUITE_P(Blocks, SeededRuns, ::testing::Range(0, Blocks));

// Seeds that once broke a rule, each run again as far as it broke it and beyond.
class BrokenOnce : public ::testing::TestWithParam<uint64_t> {};

TEST_P(BrokenOnce, HoldsNow) {
    linksim::RunOptions options;
    options.transactions = TransactionsPerSeed;
    expectHeld(linksim::runSeed(GetParam(), options));
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, BrokenOnce,
    ::testing::Values(18, 19, 20, 26, 28, 29, 154, 245, 253, 292, 295, 320, 357, 430, 464, 568, 705, 1027,
                      1119, 1329, 1362, 1465, 1509, 1652, 1723, 1768, 1929, 3008, 3268, 4210, 4602, 5099,
                      5463, 6087, 41383, 45720, 47815, 48754, 48877, 1002689, 1009951, 1014229, 1018444,
                      1019059, 2016221, 2024322, 2024339, 2027720, 3018300, 3021362, 4006005, 4010104,
                      4024421, 4028446, 5015181, 5020427, 5029601, 6023032, 6027170, 6028988, 46934, 1007827,
                      1016659, 2017209, 5017617, 6003741, 47136, 2008185, 5008178, 7003060, 7007960, 1110748,
                      5100195, 5115197, 190, 355, 709, 1929, 1933, 2847, 3366, 3421, 4969, 6600, 8299, 379,
                      1909, 2444, 5421, 8658, 935, 2669, 2001, 3177, 3949, 2139, 4700, 7771, 7827, 444, 1383,
                      651, 7544, 8108, 1523, 1755, 291, 4159, 4528, 7237));

LineSettings line(Framing framing, int holdMs, int ackGapMs = 0) {
    return {.framing = framing, .ackGapMs = ackGapMs, .holdMs = holdMs};
}

LineSettings withCopies(LineSettings s, int earliestMs, int latestMs) {
    s.copyChance = 1;
    s.copyMinMs = earliestMs;
    s.copyMaxMs = latestMs;
    return s;
}

LineSettings withOwnFrames(LineSettings s, double perSecond) {
    s.ownFramesPerSecond = perSecond;
    s.passesAll = true;
    return s;
}

struct Scenario {
    const char* name;
    std::vector<linksim::Phase> phases;
};

const std::vector<std::string> TwoFrameKinds{"control",  "toolRead",        "toolWrite", "blockReceive",
                                             "nsmClock", "transducerCheck", "psetRead"};

// The lines that once gave wrong values or commands carried out more than once, each as it was met.
const Scenario Scenarios[] = {
    // A controller restarted behind the dongle acknowledges where the one before answered once; or the
    // connection met once-answering behaviour before: the belief must not outlive the next answers.
    {"beliefConfirmsItself",
     {{line(Framing::AnswersOnce, 2), false, TwoFrameKinds, 20},
      {line(Framing::AckReplyApart, 2, 5), false, TwoFrameKinds, 40},
      {line(Framing::AckReplyApart, 2, 60), false, TwoFrameKinds, 40}}},
    // A location read, changed on the controller, read again, against one that holds its answers 400 ms
    // and writes the reply on its own.
    {"readShowsTheReadBefore",
     {{line(Framing::AckReplyApart, 400, 40), true, {"toolRead", "toolWrite"}, 40}}},
    // The controller's own frames while the tool parameters are read: so many that some come between two
    // reads, when no exchange awaits anything.
    {"broadcastInTheTransfer",
     {{withOwnFrames(line(Framing::AckReplyOneWrite, 0), 2000), true, {"toolParameters"}, 2},
      {withOwnFrames(line(Framing::AnswersOnce, 0), 100), true, {"toolRead", "blockReceive", "status"}, 40}}},
    // The reply 15 ms after the acknowledgement, each frame repeated 70 ms later.
    {"psetPacketsBehindARepeatingGateway",
     {{withCopies(line(Framing::AckReplyApart, 2, 15), 70, 70), true, {"psetRead", "psetSend"}, 30}}},
    // The same command back to back, on a repeating gateway, and first after a connect to a controller that
    // holds its answers 400 ms.
    {"sameCommandTwice",
     {{withCopies(line(Framing::AckReplyOneWrite, 0), 40, 250), true, {"control"}, 20},
      {withCopies(line(Framing::AnswersOnce, 0), 40, 250), true, {"control"}, 20},
      {line(Framing::AckReplyOneWrite, 400), true, {"control", "toolRead"}, 10}}},
    // What was learned of a controller that answers once is no evidence for the one behind a new
    // connection, which acknowledges.
    {"reconnectForgets",
     {{line(Framing::AnswersOnce, 5), true, TwoFrameKinds, 20},
      {line(Framing::AckReplyApart, 5, 30), true, TwoFrameKinds, 20}}},
    // One byte per write, acknowledgements and replies apart.
    {"bytePerWrite",
     {{[] {
           LineSettings s = line(Framing::AckReplyApart, 10, 60);
           s.delivery = Delivery::BytePerWrite;
           return s;
       }(),
       true, TwoFrameKinds, 40}}},
};

class Lines : public ::testing::TestWithParam<Scenario> {};

TEST_P(Lines, HoldEveryRule) {
    for (uint64_t seed = 1; seed <= 4; ++seed)
        expectHeld(linksim::runPhases(seed, GetParam().phases));
}

INSTANTIATE_TEST_SUITE_P(MetBefore, Lines, ::testing::ValuesIn(Scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

} // namespace
