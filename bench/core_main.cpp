// The core benchmarks run with the program's own setting of the heap.

#include "platform/heap.h"
#include "run_benchmarks.h"

int main(int argc, char* argv[]) {
  vantor::platform::keepLargeBlocksApart();
  return vantor::bench::runBenchmarks(argc, argv);
}
