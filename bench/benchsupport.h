#pragma once
// Shared by the benchmark programs (their main is in benchmain.cpp): the process CPU time per transaction.

#include <benchmark/benchmark.h>

#include <ctime>

namespace benchsupport {

// Adds "cpu_ms_per_tx": process CPU time since cpu0 per iteration (an idle wait must not spin).
void reportCpu(benchmark::State& state, std::clock_t cpu0);

// The process's resident memory in MiB (0 where it cannot be read).
double residentMb();

} // namespace benchsupport
