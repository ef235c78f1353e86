#pragma once

#include <benchmark/benchmark.h>

namespace vantor::bench {

// Runs the benchmarks the command line picks; 1 for an option it does not take.
inline int runBenchmarks(int& argc, char* argv[]) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vantor::bench
