// The link against a simulated controller and line, in virtual time: seeded random runs of the link's
// transactions hold every rule after every transaction (values, requests against the timeline, the
// controller's own frames kept apart, time), whatever the framing, timing, delivery, copies and own frames.
#include "tests/support/linksim/linksim.h"

#include <gtest/gtest.h>

namespace {

constexpr int SeedsPerBlock = 25;
constexpr int Blocks = 10;
constexpr int TransactionsPerSeed = 100;

class SeededRuns : public ::testing::TestWithParam<int> {};

TEST_P(SeededRuns, HoldEveryRuleAfterEveryTransaction) {
    linksim::RunOptions options;
    options.transactions = TransactionsPerSeed;
    long transactions = 0;
    for (int i = 0; i < SeedsPerBlock; ++i) {
        const uint64_t seed = uint64_t(GetParam() * SeedsPerBlock + i + 1);
        const linksim::RunResult result = linksim::runSeed(seed, options);
        transactions += result.transactions;
        for (const linksim::Violation& v : result.violations)
            ADD_FAILURE() << v.reproduction();
    }
    EXPECT_EQ(transactions, long(SeedsPerBlock) * TransactionsPerSeed);
}

INSTANTIATE_TEST_SUITE_P(Blocks, SeededRuns, ::testing::Range(0, Blocks));

} // namespace
