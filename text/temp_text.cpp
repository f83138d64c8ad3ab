#include "text/temp_text.h"

#include <cstdio>
#include <cstdlib>

thread_local char* TempTextRing[kTempTextSlots] = {};
thread_local int TempTextIndex = 0;

namespace {

// Releases the blocks of a thread's ring when the thread ends.
struct RingOwner {
  ~RingOwner() {
    for (char*& slot : TempTextRing) {
      std::free(slot);
      slot = nullptr;
    }
  }
};
thread_local RingOwner ring_owner;

}  // namespace

char* TempText(int32_t n) {
  // Touching the owner makes sure it is there to release the ring.
  static_cast<void>(&ring_owner);
  TempTextIndex = (TempTextIndex + 1) & (kTempTextSlots - 1);
  char*& slot = TempTextRing[TempTextIndex];
  std::free(slot);
  slot = nullptr;

  const size_t size = static_cast<size_t>(n < 0 ? 0 : n) + kTempTextSpare;
  char* block = static_cast<char*>(std::calloc(size, 1));
  if (block == nullptr) {
    // Every caller writes into its temporary at once and has no failure
    // path; ending here is the only way never to write through a null block.
    std::fputs("Quorlith: out of memory\n", stderr);
    std::abort();
  }
  slot = block;
  return block;
}
