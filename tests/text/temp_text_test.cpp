#include "text/temp_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TempText, IsZeroFilledWithRoomBeyondItsLength) {
  for (int32_t n : {0, 1, 5, 300}) {
    SCOPED_TRACE(n);
    char* t = TempText(n);
    for (int32_t i = 0; i < n + kTempTextSpare; ++i) ASSERT_EQ(t[i], '\0') << i;
    // The holder may write up to n + 127 characters and the terminator.
    std::memset(t, 'x', static_cast<size_t>(n + kTempTextSpare - 1));
    EXPECT_EQ(std::strlen(t), static_cast<size_t>(n + kTempTextSpare - 1));
  }
}

TEST(TempText, NegativeLengthStillGivesTheSpare) {
  char* t = TempText(-50);
  std::memset(t, 'y', kTempTextSpare - 1);
  EXPECT_EQ(std::strlen(t), static_cast<size_t>(kTempTextSpare - 1));
}

TEST(TempText, SurvivesTheNext2047RequestsAndIsReleasedByThe2048th) {
  char* kept = TempText(10);
  std::strcpy(kept, "still here");
  const int slot = TempTextIndex;
  for (int i = 0; i < kTempTextSlots - 1; ++i) TempText(0);
  EXPECT_STREQ(kept, "still here");
  EXPECT_EQ(TempTextRing[slot], kept);

  TempText(0);  // lands on the kept block's slot again
  EXPECT_EQ(TempTextIndex, slot);
  EXPECT_NE(TempTextRing[slot], nullptr);
}

TEST(TempText, IndexRunsRoundTheRingStartingAfterTheLastSlot) {
  const int before = TempTextIndex;
  TempText(0);
  EXPECT_EQ(TempTextIndex, (before + 1) % kTempTextSlots);
  for (int i = 0; i < kTempTextSlots - 1; ++i) TempText(0);
  EXPECT_EQ(TempTextIndex, before);
}

}  // namespace
