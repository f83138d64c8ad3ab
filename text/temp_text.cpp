#include "text/temp_text.h"

#include <cstdio>
#include <cstdlib>

char* TempTextRing[kTempTextSlots] = {};
int TempTextIndex = 0;

char* TempText(int32_t n) {
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
