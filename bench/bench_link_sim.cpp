// The link against a simulated controller and line, in virtual time: a million random transactions (by
// default 10,000 seeds of 100), and per framing and transaction kind the requests the controller received
// against the exchange's timeline, the transactions that failed, the wrong values and the broken rules.
//   bench_link_sim [--seeds N] [--first S] [--transactions T]   many seeds
//   bench_link_sim --seed S --transactions T [--trace]          one seed again, as a failure printed it
#include "tests/support/linksim/linksim.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

long argument(int argc, char** argv, const char* name, long fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::strtol(argv[i + 1], nullptr, 10);
    return fallback;
}

bool flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

void add(linksim::Tally& sum, const linksim::Tally& t) {
    sum.runs += t.runs;
    sum.failed += t.failed;
    sum.requests += t.requests;
    sum.timeline += t.timeline;
    sum.overTimeline += t.overTimeline;
    sum.wrong += t.wrong;
    sum.slow += t.slow;
    sum.ms += t.ms;
}

void print(const std::map<std::string, linksim::Tally>& tally) {
    std::printf("%-26s %8s %8s %9s %9s %6s %6s %6s %6s %9s\n", "framing/kind", "runs", "failed", "requests",
                "timeline", "over", "wrong", "slow", "", "ms/run");
    linksim::Tally all;
    for (const auto& [key, t] : tally) {
        std::printf("%-26s %8ld %8ld %9ld %9ld %6ld %6ld %6ld %6s %9.1f\n", key.c_str(), t.runs, t.failed,
                    t.requests, t.timeline, t.overTimeline, t.wrong, t.slow, "",
                    t.runs ? t.ms / t.runs : 0.0);
        add(all, t);
    }
    std::printf("%-26s %8ld %8ld %9ld %9ld %6ld %6ld %6ld\n", "all", all.runs, all.failed, all.requests,
                all.timeline, all.overTimeline, all.wrong, all.slow);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    linksim::RunOptions options;
    options.transactions = int(argument(argc, argv, "--transactions", 100));
    options.trace = flag(argc, argv, "--trace");
    // A trace keeps its order with the link's own diagnostics.
    if (options.trace)
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    const long one = argument(argc, argv, "--seed", -1);
    const long first = one >= 0 ? one : argument(argc, argv, "--first", 1);
    const long seeds = one >= 0 ? 1 : argument(argc, argv, "--seeds", 10000);

    std::map<std::string, linksim::Tally> tally;
    long transactions = 0;
    long failedSeeds = 0;
    for (long seed = first; seed < first + seeds; ++seed) {
        const linksim::RunResult result = linksim::runSeed(uint64_t(seed), options);
        transactions += result.transactions;
        for (const auto& [key, t] : result.tally)
            add(tally[key], t);
        if (!result.violations.empty()) {
            ++failedSeeds;
            for (const linksim::Violation& v : result.violations)
                std::printf("%s\n", v.reproduction().c_str());
        }
    }
    print(tally);
    std::printf("%ld transactions over %ld seeds; %ld seeds broke a rule\n", transactions, seeds,
                failedSeeds);
    return failedSeeds == 0 ? 0 : 1;
}
