#include "text/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "text/temp_text.h"

namespace {

TEST(Strings, CompareTextOrdersBytesAsUnsigned) {
  struct Case {
    const char* a;
    const char* b;
    int plain;
    int no_case;
  } cases[] = {
      {"ab", "abc", -1, -1},
      {"abc", "ab", 1, 1},
      {"b", "a", 1, 1},
      {"", "", 0, 0},
      {"\xE9", "z", 1, 1},  // byte 233 sorts after z
      {"Pixels", "PIXELS", 1, 0},
      {"PIXELS", "pixels", -1, 0},
      {"pixels", "PIXELS", 1, 0},
      {"_", "A", 1, -1},  // A folds to a (97), above the underscore (95)
      {"\xC9", "\xE9", -1, -1},  // only A-Z fold
      {"same", "same", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(CompareText(c.a, c.b), c.plain);
    EXPECT_EQ(CompareTextNoCase(c.a, c.b), c.no_case);
  }
}

TEST(Strings, RightTextTakesTheTail) {
  struct Case {
    const char* text;
    int count;
    const char* expected;
  } cases[] = {
      {"abc", 5, "abc"}, {"abc", 3, "abc"}, {"abc", 1, "c"},
      {"abc", 0, ""},    {"", 2, ""},       {"abc", -4, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + "," + std::to_string(c.count));
    EXPECT_STREQ(RightText(c.text, c.count), c.expected);
  }
}

TEST(Strings, TrimLeftSkipsSpacesAndTheGivenCharacterInAnyMix) {
  struct Case {
    const char* text;
    int ch;
    const char* expected;
  } cases[] = {
      {".gz", '.', "gz"}, {" . x", '.', "x"},  {"...", '.', ""},
      {" 75", ' ', "75"}, {"-3", ' ', "-3"},   {"  a b", 0, "a b"},
      {"..a.", '.', "a."}, {"x", '.', "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(TrimLeft(c.text, c.ch), c.expected);
  }
}

TEST(Strings, TrimLeftReturnsAnEmptyTextItselfWithoutATemporary) {
  const char* empty = "";
  const int before = TempTextIndex;
  EXPECT_EQ(TrimLeft(empty, '.'), empty);
  EXPECT_EQ(TempTextIndex, before);
}

TEST(Strings, NumberToTextUsesTheBlankFlagAndGeneralFormat) {
  struct Case {
    double value;
    const char* expected;
  } cases[] = {
      {75, " 75"},
      {-3, "-3"},
      {0, " 0"},
      {-0.0, "-0"},
      {2147483647, " 2147483647"},
      {-2147483648.0, "-2147483648"},
      {1e15, " 1E+15"},
      {0.00001, " 1E-05"},
      {0.5, " 0.5"},
      {123456789012345.0, " 123456789012345"},
      {-1.5e-300, "-1.5E-300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_STREQ(NumberToText(c.value), c.expected);
  }
}

TEST(Strings, TrimmedNumbersAreThePlainDecimalForm) {
  for (int v : {75, -3, 0, 2147483647, -2147483647 - 1}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(std::string(TrimLeft(NumberToText(v), ' ')), std::to_string(v));
  }
}

TEST(Strings, EncloseDefaultsToDoubleQuotesAndRepeatsTheOpener) {
  EXPECT_STREQ(Enclose("a b", 0, 0), "\"a b\"");
  EXPECT_STREQ(Enclose("a b", 40, 41), "(a b)");
  EXPECT_STREQ(Enclose("a b", 39, 0), "'a b'");
  EXPECT_STREQ(Enclose("", 0, 0), "\"\"");
  const std::string long_text(5000, 'q');
  EXPECT_EQ(std::string(Enclose(long_text.c_str(), 0, 0)), "\"" + long_text + "\"");
}

TEST(Strings, CharTextEndsAtTheFirstZeroCode) {
  EXPECT_STREQ(CharText(92), "\\");
  EXPECT_STREQ(CharText(65, 66, 0, 67), "AB");
  EXPECT_STREQ(CharText(0, 65), "");
  EXPECT_STREQ(CharText(49, 50, 51, 52, 53, 54, 55, 56, 57, 48), "1234567890");
  EXPECT_STREQ(CharText(0x141), "A");  // only the low 8 bits count
}

TEST(Strings, JoinTextSkipsNullsAndHonoursTheCount) {
  EXPECT_STREQ(JoinText(3, "a", nullptr, "b"), "ab");
  EXPECT_STREQ(JoinText(0), "");
  EXPECT_STREQ(JoinText(0, "a"), "");
  EXPECT_STREQ(JoinText(-1, "a", "b"), "");
  EXPECT_STREQ(JoinText(1, "a", "b"), "a");
  EXPECT_STREQ(JoinText(2, nullptr, nullptr), "");
  const std::string big(3000, 'z');
  EXPECT_EQ(std::string(JoinText(3, big.c_str(), LineBreak, big.c_str())), big + "\r" + big);
}

}  // namespace
