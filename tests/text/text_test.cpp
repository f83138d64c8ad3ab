// The text helpers: splitting paths, comparing, trimming and joining texts.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "text/file_system.h"
#include "text/path_parts.h"
#include "text/strings.h"

namespace {

constexpr PathStyle W = PathStyle::Windows, P = PathStyle::Posix;

// Windows has drives and two separators; a part is cut to 259 whole characters.
TEST(PathParts, SplitsIntoDriveDirectoryNameAndExtension) {
  std::string cjk, emoji;  // 255 three-byte and 300 four-byte characters
  for (int i = 0; i < 255; ++i) cjk += "\xE6\x97\xA5";
  for (int i = 0; i < 300; ++i) emoji += "\xF0\x9F\x98\x80";
  const std::string dir298 = "\\" + std::string(298, 'd') + "\\", n300(300, 'n');
  const struct {
    PathStyle style;
    std::string path, drive, dir, name, ext;
  } cases[] = {
      {W, "C:\\dir\\sub\\file.tar.gz", "C:", "\\dir\\sub\\", "file.tar", ".gz"},
      {W, "C:\\my.dir\\README", "C:", "\\my.dir\\", "README", ""},
      {W, "\\\\server\\share\\doc.txt", "", "\\\\server\\share\\", "doc", ".txt"},
      {W, "C:\\dir\\.profile", "C:", "\\dir\\", "", ".profile"},
      {W, "C:\\dir\\file.", "C:", "\\dir\\", "file", "."},
      {W, "C:file.txt", "C:", "", "file", ".txt"},
      {W, "C:/a/b.txt", "C:", "/a/", "b", ".txt"},
      {W, "a/b\\c.d", "", "a/b\\", "c", ".d"},
      {W, "1:x", "1:", "", "x", ""},
      {W, "C:", "C:", "", "", ""},
      {W, "", "", "", "", ""},
      {W, "C:\x80\\\x80n.\x80", "C:", "\x80\\", "\x80n", ".\x80"},
      {W, "C:" + dir298 + n300 + ".txt", "C:", dir298.substr(0, 259), n300.substr(0, 259), ".txt"},
      {W, "C:\\" + cjk, "C:", "\\", cjk, ""},
      {W, "C:\\" + emoji, "C:", "\\", emoji.substr(0, 259 * 4), ""},
      {W, "C:\\a" + std::string(3000, '\x80'), "C:", "\\", "a" + std::string(3 + 258 * 4, '\x80'),
       ""},
      {P, "/home/ann/a\\b.final.txt", "", "/home/ann/", "a\\b.final", ".txt"},
      {P, "C:file.txt", "", "", "C:file", ".txt"},
      {P, "/my.dir/README", "", "/my.dir/", "README", ""},
      {P, "/", "", "/", "", ""},
      {P, "/" + std::string(4000, 'x') + "." + std::string(500, 'e'), "", "/",
       std::string(259, 'x'), "." + std::string(258, 'e')}};
  char drive[kPathComponentSize], dir[kPathComponentSize], name[kPathComponentSize],
      ext[kPathComponentSize];
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 40));
    SplitPathStyled(c.style, c.path.c_str(), drive, dir, name, ext);
    EXPECT_EQ(std::string(drive) + "|" + dir + "|" + name + "|" + ext,
              c.drive + "|" + c.dir + "|" + c.name + "|" + c.ext);
  }
}

TEST(PathParts, PathPartJoinsInFixedOrderWhateverTheFlags) {
  const char* path = "C:\\dir\\file.gz";
  const struct {
    unsigned flags;
    const char* expected;
  } rows[] = {{0, ""},     {1 | 32 | 64, ""}, {2, "C:"},     {4, "\\dir\\"},
              {8, "file"}, {16, ".gz"},       {18, "C:.gz"}, {31, path}};
  for (const auto& r : rows) EXPECT_STREQ(PathPartStyled(W, path, r.flags), r.expected) << r.flags;
  EXPECT_STREQ(PathPart(nullptr, 30), "");
}

TEST(Strings, CompareTextOrdersBytesAsUnsignedAndFoldsOnlyAToZ) {
  const struct {
    const char *a, *b;
    int plain, no_case;
  } cases[] = {{"ab", "abc", -1, -1},   {"b", "a", 1, 1},           {"", "", 0, 0},
               {"\xE9", "z", 1, 1},     {"Pixels", "PIXELS", 1, 0}, {"_", "A", 1, -1},
               {"\xC9", "\xE9", -1, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b), c.plain) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareTextNoCase(c.a, c.b), c.no_case) << c.a << " vs " << c.b;
  }
}

// Blanks and the given character go in any mix, up to the end of the text.
TEST(Strings, TrimLeft) {
  static const char kStopsAtTheEnd[] = " \0 x";
  const struct {
    const char* text;
    int ch;
    const char* expected;
  } cases[] = {{".gz", '.', "gz"}, {" . x", '.', "x"}, {"...", '.', ""},       {"..a.", '.', "a."},
               {" 75", ' ', "75"}, {"-3", ' ', "-3"},  {kStopsAtTheEnd, 0, ""}};
  for (const auto& c : cases) EXPECT_STREQ(TrimLeft(c.text, c.ch), c.expected) << c.text;
  const char* empty = "";
  EXPECT_EQ(TrimLeft(empty, '.'), empty);  // the empty text itself, no temporary
}

TEST(Strings, TextBuilders) {
  EXPECT_STREQ(RightText("abc", 1), "c");
  EXPECT_STREQ(RightText("abc", 5), "abc");
  EXPECT_STREQ(RightText("abc", -4), "");
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
