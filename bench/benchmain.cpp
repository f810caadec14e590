// Shared entry point of the benchmark programs: a Qt application around Google Benchmark's runner. A
// benchmark that stops with an error makes the program fail, so a check that runs the programs sees it.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// The console report, noting whether any run ended with an error.
class FailureNotingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            failed = failed || run.error_occurred;
        ConsoleReporter::ReportRuns(runs);
    }
    bool failed = false;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    FailureNotingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.failed ? 1 : 0;
}
