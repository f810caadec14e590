// The link against a simulated controller and line, in virtual time: a million random transactions (by
// default 10,000 seeds of 100), and per framing and transaction kind the requests the controller received
// against the exchange's timeline, the transactions that failed, the wrong values and the broken rules.
//   bench_link_sim [--seeds N] [--first S] [--transactions T]   many seeds
//   bench_link_sim --seed S --transactions T [--trace]          one seed again, as a failure printed it
//   --keep-going   a seed runs on past a broken rule; --no-stalls   the program never runs late;
//   --heavy        the long loops are drawn too; --every   every broken rule printed, not a seed's first
#include "tests/support/linksim/linksim.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr double Percentile = 0.99;

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

// The mean and the 99th percentile of how much longer than the line forced the transactions took.
std::pair<double, double> beyondForced(std::vector<float> ms) {
    if (ms.empty())
        return {0, 0};
    double sum = 0;
    for (float m : ms)
        sum += m;
    const auto p99 = ms.begin() + std::ptrdiff_t(double(ms.size() - 1) * Percentile);
    std::nth_element(ms.begin(), p99, ms.end());
    return {sum / double(ms.size()), *p99};
}

void print(const std::map<std::string, linksim::Tally>& tally) {
    std::printf("%-26s %8s %7s %9s %9s %5s %5s %5s %5s %9s %9s %9s\n", "framing/kind", "runs", "failed",
                "requests", "timeline", "over", "wrong", "lost", "slow", "ms/run", "beyond", "p99");
    linksim::Tally all;
    for (const auto& [key, t] : tally) {
        const auto [mean, p99] = beyondForced(t.beyondForcedMs);
        std::printf("%-26s %8ld %7ld %9ld %9ld %5ld %5ld %5ld %5ld %9.1f %9.1f %9.1f\n", key.c_str(), t.runs,
                    t.failed, t.requests, t.timeline, t.overTimeline, t.wrong, t.ownFramesLost, t.slow,
                    t.runs ? t.ms / t.runs : 0.0, mean, p99);
        all.add(t);
    }
    const auto [mean, p99] = beyondForced(all.beyondForcedMs);
    std::printf("%-26s %8ld %7ld %9ld %9ld %5ld %5ld %5ld %5ld %9s %9.1f %9.1f\n", "all", all.runs, all.failed,
                all.requests, all.timeline, all.overTimeline, all.wrong, all.ownFramesLost, all.slow, "", mean,
                p99);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    linksim::RunOptions options;
    options.transactions = int(argument(argc, argv, "--transactions", 100));
    options.trace = flag(argc, argv, "--trace");
    options.keepGoing = flag(argc, argv, "--keep-going");
    options.noStalls = flag(argc, argv, "--no-stalls");
    options.heavy = flag(argc, argv, "--heavy");
    const bool every = flag(argc, argv, "--every");
    // A trace keeps its order with the link's own diagnostics.
    if (options.trace)
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    const long one = argument(argc, argv, "--seed", -1);
    const long first = one >= 0 ? one : argument(argc, argv, "--first", 1);
    const long seeds = one >= 0 ? 1 : argument(argc, argv, "--seeds", 10000);

    std::map<std::string, linksim::Tally> tally;
    long transactions = 0;
    long failedSeeds = 0;
    long broken = 0;
    for (long seed = first; seed < first + seeds; ++seed) {
        const linksim::RunResult result = linksim::runSeed(uint64_t(seed), options);
        transactions += result.transactions;
        for (const auto& [key, t] : result.tally)
            tally[key].add(t);
        if (!result.violations.empty()) {
            ++failedSeeds;
            broken += long(result.violations.size());
            // The first of a seed (the others may follow from it), or all of them.
            for (const linksim::Violation& v : result.violations) {
                std::printf("%s\n", v.reproduction().c_str());
                if (!every)
                    break;
            }
        }
    }
    print(tally);
    std::printf("%ld transactions over %ld seeds; %ld rules broken, by %ld seeds\n", transactions, seeds, broken,
                failedSeeds);
    return failedSeeds == 0 ? 0 : 1;
}
