// The core benchmarks run with the program's own setting of the heap.

#include <benchmark/benchmark.h>

#include "platform/heap.h"

int main(int argc, char* argv[]) {
  vantor::platform::keepLargeBlocksApart();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
