// Shared entry point of the benchmark programs: a Qt application around Google Benchmark's runner. A
// benchmark that stops with an error makes the program fail, so a check that runs the programs sees it.
#include "bench/failurenotingreporter.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchsupport::FailureNotingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.failed ? 1 : 0;
}
