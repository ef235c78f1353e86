#include "platform/heap.h"

#include <cstdlib>  // names the C library, __GLIBC__ for glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vantor::platform {

namespace {

// A block this large is mapped apart; the 0.5 MB texts of a 10,000-contact log stay in the heap,
// whose freed top is kept up to twice that for the next export or keystroke to reuse.
constexpr int kLargeBlock = 4 << 20;
constexpr int kKeptHeapTop = 8 << 20;

}  // namespace

void keepLargeBlocksApart() {
#if defined(__GLIBC__)
  ::mallopt(M_MMAP_THRESHOLD, kLargeBlock);
  ::mallopt(M_TRIM_THRESHOLD, kKeptHeapTop);
#endif
}

}  // namespace vantor::platform
