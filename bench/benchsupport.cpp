#include "bench/benchsupport.h"

#include <QFile>

#include <unistd.h>

namespace benchsupport {

void reportCpu(benchmark::State& state, std::clock_t cpu0) {
    const double cpuSeconds = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
    state.counters["cpu_ms_per_tx"] =
        benchmark::Counter(cpuSeconds * 1000.0 / double(state.iterations()), benchmark::Counter::kDefaults);
}

double residentMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    constexpr double Mebibyte = 1024.0 * 1024.0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / Mebibyte;
}

} // namespace benchsupport
