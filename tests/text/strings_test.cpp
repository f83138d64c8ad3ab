#include "text/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

TEST(Strings, CompareTextOrdersBytesAsUnsignedAndFoldsOnlyAToZ) {
  const struct {
    const char *a, *b;
    int plain, no_case;
  } cases[] = {{"ab", "abc", -1, -1}, {"b", "a", 1, 1},  {"", "", 0, 0}, {"\xE9", "z", 1, 1},
               {"Pixels", "PIXELS", 1, 0}, {"_", "A", 1, -1}, {"\xC9", "\xE9", -1, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b), c.plain) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareTextNoCase(c.a, c.b), c.no_case) << c.a << " vs " << c.b;
  }
}

// Blanks and the given character go in any mix, up to the end of the text.
TEST(Strings, TrimLeft) {
  static const char kStopsAtTheEnd[] = " \0 x";
  const struct {
    const char *text;
    int ch;
    const char* expected;
  } cases[] = {{".gz", '.', "gz"}, {" . x", '.', "x"}, {"...", '.', ""}, {"..a.", '.', "a."},
               {" 75", ' ', "75"}, {"-3", ' ', "-3"}, {kStopsAtTheEnd, 0, ""}};
  for (const auto& c : cases) EXPECT_STREQ(TrimLeft(c.text, c.ch), c.expected) << c.text;
  const char* empty = "";
  EXPECT_EQ(TrimLeft(empty, '.'), empty);  // the empty text itself, no temporary
}

TEST(Strings, TextBuilders) {
  EXPECT_STREQ(NumberToText(75), " 75");  // a blank before a non-negative number
  EXPECT_STREQ(NumberToText(-2147483648.0), "-2147483648");
  EXPECT_STREQ(NumberToText(1e15), " 1E+15");
  EXPECT_STREQ(RightText("abc", 1), "c");
  EXPECT_STREQ(RightText("abc", 5), "abc");
  EXPECT_STREQ(RightText("abc", -4), "");
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

// On Windows "*" and "?" make a path a pattern; elsewhere they are name characters.
TEST(FileSystem, PatternsAreWindowsOnly) {
  testing_support::TempFolder folder;
  testing_support::WriteFile(folder / "notes.txt", "x");
  EXPECT_EQ(FileExists((folder / "note?.txt").c_str()), NativeSeparator() == '\\' ? 1 : 0);
  EXPECT_STREQ(SpecialFolder(-5, 0, nullptr), "");
}

}  // namespace
