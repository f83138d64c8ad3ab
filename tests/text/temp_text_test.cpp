#include "text/temp_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// n + 128 zero bytes, a negative n counting as 0.
TEST(TempText, IsZeroFilledWithRoomBeyondItsLength) {
  for (int32_t n : {-50, 0, 300}) {
    SCOPED_TRACE(n);
    char* t = TempText(n);
    const int32_t room = (n < 0 ? 0 : n) + kTempTextSpare;
    for (int32_t i = 0; i < room; ++i) ASSERT_EQ(t[i], '\0') << i;
    std::memset(t, 'x', static_cast<size_t>(room - 1));
    EXPECT_EQ(std::strlen(t), static_cast<size_t>(room - 1));
  }
}

// A temporary stays through the next 2047 requests; the 2048th takes its slot.
TEST(TempText, LastsOnceRoundTheRing) {
  char* kept = TempText(10);
  std::strcpy(kept, "still here");
  const int slot = TempTextIndex;
  for (int i = 0; i < kTempTextSlots - 1; ++i) {
    TempText(0);
    ASSERT_EQ(TempTextIndex, (slot + i + 1) % kTempTextSlots);
  }
  EXPECT_STREQ(kept, "still here");
  EXPECT_EQ(TempTextRing[slot], kept);
  char* next = TempText(0);
  EXPECT_EQ(TempTextIndex, slot);
  EXPECT_EQ(TempTextRing[slot], next);
  EXPECT_STREQ(next, "");
}

}  // namespace
