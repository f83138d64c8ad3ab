// One set of INI vectors for both builds, which both read and edit settings
// files with the project's engine, the way the Windows profile functions read
// them. The write vectors also read every value back.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::string_literals;
using platform::ProfileReadNumber;
using platform::ProfileReadText;
using platform::ProfileWriteText;
using namespace testing_support;

#ifdef _WIN32
const std::string kNewLine = "\r\n";
#else
const std::string kNewLine = "\n";
#endif

struct TextCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no file at all
  const char* section;
  const char* key;
  std::string expected;
  std::string def = "<def>";
  int max_chars = 2047;
};

TEST(ProfileRead, TextVectors) {
  const std::vector<TextCase> cases = {
      {"names ignore letter case", "[Colours]\nBackGround=red\n", "cOLOURS", "background", "red"},
      {"blanks around names and value", "  [ S ]  \n \t k \t= \t v  v \t\n", "S", "k", "v  v"},
      {"double quotes removed", "[S]\nk=\"a b\"\n", "S", "k", "a b"},
      {"single quotes removed, inner blanks kept", "[S]\nk= ' a ' \n", "S", "k", " a "},
      {"a lone quote stays", "[S]\nk='\n", "S", "k", "'"},
      {"comment lines are no keys", "[S]\n;k=1\n  ; k=2\nk=3\n", "S", "k", "3"},
      {"no inline comments", "[S]\nk=v ; note\n", "S", "k", "v ; note"},
      {"value split at the first =", "[S]\nk = a=b\n", "S", "k", "a=b"},
      {"first duplicate section wins", "[S]\nk=1\n[T]\n[s]\nk=2\n", "S", "k", "1"},
      {"first duplicate key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"CR line endings", "[S]\rj=0\rk=1\r", "S", "k", "1"},
      {"CRLF line endings", "[S]\r\nj=0\r\nk=1\r\n", "S", "k", "1"},
      {"no final line ending", "[S]\nk=1", "S", "k", "1"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
      {"missing file", std::nullopt, "S", "k", "<def>"},
      {"missing section", "[T]\nk=1\n", "S", "k", "<def>"},
      {"missing key", "[S]\nj=1\n", "S", "k", "<def>"},
      {"key of the next section", "[S]\n[T]\nk=1\n", "S", "k", "<def>"},
      {"[ without ] is no header", "[S]\n[T\nk=1\n", "S", "k", "1"},
      {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
      {"control bytes and UTF-8", "[S]\nk=\x01\x7f \xD0\x9E \xE6\x97\xA5 \xF0\x9F\x98\x80\n", "S",
       "k", "\x01\x7f \xD0\x9E \xE6\x97\xA5 \xF0\x9F\x98\x80"},
      {"NUL ends the value", "[S]\nk=ab\0cd\nj=2\n"s, "S", "k", "ab"},
      {"line after a NUL", "[S]\nk=a\0b\nj=2\n"s, "S", "j", "2"},
      {"value cut at max_chars", "[S]\nk=abcdef\n", "S", "k", "abc", "<def>", 3},
      {"default loses trailing spaces", "[S]\n", "S", "k", " ab", " ab  "},
  };
  TempFolder folder;
  for (size_t i = 0; i < cases.size(); ++i) {
    const TextCase& c = cases[i];
    SCOPED_TRACE(c.name);
    const std::string path = folder / ("text" + std::to_string(i) + ".ini");
    if (c.file) WriteFile(path, *c.file);
    EXPECT_EQ(ProfileReadText(path, c.section, c.key, c.def, c.max_chars), c.expected);
  }
}

TEST(ProfileRead, NumberVectors) {
  constexpr int kDef = -777;
  const struct {
    std::string value;
    int expected;
  } cases[] = {
      {"0x10", 16}, {" 12abc", 12}, {"\t9", 9}, {"-12", -12}, {" +7", 7}, {"-", 0}, {"+-5", 0},
      {"99999999999", 1215752191}, {"4294967295", -1}, {"-2147483649", 2147483647},
      {"0x80000000", INT_MIN}, {"  -0x10", -16}, {"0X1f", 0}, {"0o17", 15}, {"0b101", 5},
      {"0777", 777}, {"1e3", 1}, {"\"-3\"", -3}, {"", kDef}, {"''", kDef},
      // Only the first 29 characters count.
      {"00000000000000000000000000001", 1}, {"000000000000000000000000000001", 0},
  };
  TempFolder folder;
  int i = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("value \"" + c.value + "\"");
    const std::string path = folder / ("number" + std::to_string(i++) + ".ini");
    WriteFile(path, "[S]\nk=" + c.value + "\n");
    EXPECT_EQ(ProfileReadNumber(path, "S", "k", kDef), c.expected);
  }
  WriteFile(folder / "none.ini", "[S]\nj=5\n");
  EXPECT_EQ(ProfileReadNumber(folder / "none.ini", "S", "k", kDef), kDef);
  EXPECT_EQ(ProfileReadNumber(folder / "absent.ini", "S", "k", 3), 3);
}

TEST(ProfileRead, HundredThousandCharacterLine) {
  TempFolder folder;
  std::string value;
  for (int i = 0; i < 100000; ++i) value += static_cast<char>('a' + (i * 7) % 26);
  WriteFile(folder / "huge.ini", "[S]\nk=" + value + "\r\nj=2\r\n");
  EXPECT_TRUE(ProfileReadText(folder / "huge.ini", "S", "k", "", 100000) == value);
  EXPECT_EQ(ProfileReadText(folder / "huge.ini", "S", "j", "", 2047), "2");
}

struct WriteCase {
  const char* name;
  std::optional<std::string> before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(ProfileWrite, Vectors) {
  const std::vector<WriteCase> cases = {
      {"replace in place", "[S]\r\nk=1\r\nj=2\r\n", "S", "k", "9", "[S]\r\nk=9\r\nj=2\r\n"},
      {"new key after the section's last key", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n", "S", "n", "-3",
       "[S]\r\nk=1\r\nn=-3\r\n[T]\r\nj=2\r\n"},
      {"new key in a section without keys", "[S]\r\n[T]\r\nj=1\r\n", "S", "k", "v",
       "[S]\r\nk=v\r\n[T]\r\nj=1\r\n"},
      {"new section at the end", "[S]\r\nk=1\r\n", "T", "j", "2", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n"},
      {"new section, no final line ending", "[S]\r\nk=1", "T", "j", "2",
       "[S]\r\nk=1\r\n[T]\r\nj=2\r\n"},
      {"new file", std::nullopt, "S", "k", "v", "[S]" + kNewLine + "k=v" + kNewLine},
      {"blanks and = inside the value", "[S]\r\nk=1\r\n", "S", "k", "a b = c",
       "[S]\r\nk=a b = c\r\n"},
      {"empty value", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
      {"replace leaves every other byte",
       "; c\r\n[S]\n  K \t= old ; x\n\nb=\x01\xff\0z\r[T]\rj=2"s, "S", "k", "new",
       "; c\r\n[S]\n  K \t=new\n\nb=\x01\xff\0z\r[T]\rj=2"s},
      {"new key before the section's closing blank and comment lines",
       "[S]\nk=1\n\n; n=0\n[T]\nj=2\n", "S", "n", "3", "[S]\nk=1\nn=3\n\n; n=0\n[T]\nj=2\n"},
      {"new lines take the file's line ending", "[S]\rk=1\r", "T", "j", "2",
       "[S]\rk=1\r[T]\rj=2\r"},
      {"new key after a last line without ending", "[S]\nk=1", "S", "n", "2", "[S]\nk=1\nn=2\n"},
  };
  TempFolder folder;
  for (size_t i = 0; i < cases.size(); ++i) {
    const WriteCase& c = cases[i];
    SCOPED_TRACE(c.name);
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    if (c.before) WriteFile(path, *c.before);
    EXPECT_TRUE(ProfileWriteText(path, c.section, c.key, c.value));
    EXPECT_EQ(ReadFile(path), c.after);
    EXPECT_EQ(ProfileReadText(path, c.section, c.key, "<def>", 2047), c.value);
  }
}

TEST(ProfileWrite, RefusesWhatItCannotWrite) {
  TempFolder folder;
  EXPECT_FALSE(ProfileWriteText(folder / "gone/Quorlith.ini", "S", "k", "v"));
  EXPECT_FALSE(Exists(folder / "gone"));
  // A line break in a value cannot be read back: the file is left alone.
  const std::string path = folder / "Quorlith.ini";
  WriteFile(path, "[S]\nk=1\n");
  EXPECT_FALSE(ProfileWriteText(path, "S", "k", "a\nb"));
  EXPECT_EQ(ReadFile(path), "[S]\nk=1\n");
}

}  // namespace
