#pragma once
// Google Benchmark's console report, noting whether any run ended with an error: a benchmark program that
// had one fails, so a check that runs the programs sees it.

#include <benchmark/benchmark.h>

#include <vector>

namespace benchsupport {

class FailureNotingReporter : public benchmark::ConsoleReporter {
public:
    explicit FailureNotingReporter(OutputOptions options = OO_Defaults) : ConsoleReporter(options) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            failed = failed || run.error_occurred;
        ConsoleReporter::ReportRuns(runs);
    }
    bool failed = false;
};

} // namespace benchsupport
