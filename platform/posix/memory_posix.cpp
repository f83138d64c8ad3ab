#include <malloc.h>

#include "platform/memory.h"

namespace platform {

namespace {

// glibc's own starting values, kept fixed: setting them stops glibc from
// raising them as large blocks are freed.
constexpr int kLargeBlock = 128 * 1024;

}  // namespace

void ReturnFreedMemory() { malloc_trim(0); }

void ReturnLargeBlocksWhenFreed() {
  mallopt(M_MMAP_THRESHOLD, kLargeBlock);
  mallopt(M_TRIM_THRESHOLD, kLargeBlock);
}

}  // namespace platform
