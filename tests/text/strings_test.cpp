#include "text/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "text/temp_text.h"

namespace {

TEST(Strings, CompareTextOrdersBytesAsUnsignedAndFoldsOnlyAToZ) {
  const struct {
    const char *a, *b;
    int plain, no_case;
  } cases[] = {{"ab", "abc", -1, -1},        {"b", "a", 1, 1},          {"", "", 0, 0},
               {"\xE9", "z", 1, 1},          {"Pixels", "PIXELS", 1, 0}, {"PIXELS", "pixels", -1, 0},
               {"_", "A", 1, -1},            {"\xC9", "\xE9", -1, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(CompareText(c.a, c.b), c.plain);
    EXPECT_EQ(CompareTextNoCase(c.a, c.b), c.no_case);
  }
}

// Blanks and the given character go in any mix, up to the end of the text.
TEST(Strings, TrimLeft) {
  static const char kStopsAtTheEnd[] = " \0 x";
  const struct {
    const char* text;
    int ch;
    const char* expected;
  } cases[] = {{".gz", '.', "gz"}, {" . x", '.', "x"}, {"...", '.', ""}, {"..a.", '.', "a."},
               {" 75", ' ', "75"}, {"-3", ' ', "-3"}, {kStopsAtTheEnd, 0, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(TrimLeft(c.text, c.ch), c.expected);
  }
  const char* empty = "";
  EXPECT_EQ(TrimLeft(empty, '.'), empty);  // the empty text itself, no temporary
}

TEST(Strings, NumberToTextPutsABlankBeforeANonNegativeNumber) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {{75, " 75"},       {-3, "-3"},  {-0.0, "-0"},
               {1e15, " 1E+15"},  {0.5, " 0.5"}, {-2147483648.0, "-2147483648"}};
  for (const auto& c : cases) EXPECT_STREQ(NumberToText(c.value), c.expected);
}

TEST(Strings, SmallTextBuilders) {
  EXPECT_STREQ(RightText("abc", 1), "c");
  EXPECT_STREQ(RightText("abc", 5), "abc");
  EXPECT_STREQ(RightText("abc", -4), "");
  EXPECT_STREQ(Enclose("a b", 0, 0), "\"a b\"");
  EXPECT_STREQ(Enclose("a b", 40, 41), "(a b)");
  EXPECT_STREQ(Enclose("a b", 39, 0), "'a b'");
  EXPECT_STREQ(CharText(65, 66, 0, 67), "AB");
  EXPECT_STREQ(CharText(0x141), "A");  // only the low 8 bits count
  EXPECT_STREQ(JoinText(3, "a", nullptr, "b"), "ab");
  EXPECT_STREQ(JoinText(1, "a", "b"), "a");
  EXPECT_STREQ(JoinText(-1, "a", "b"), "");
  const std::string big(3000, 'z');
  EXPECT_EQ(std::string(JoinText(3, big.c_str(), LineBreak, big.c_str())), big + "\r" + big);
}

}  // namespace
