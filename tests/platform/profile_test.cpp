// One set of INI vectors for both builds: natively they run against the
// project's engine, under Wine against the system's profile functions. A
// vector whose reason is set holds for the engine only and is skipped on
// Windows, where Wine's own handling differs in a way the program does not
// rely on.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::string_literals;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

#ifdef _WIN32
constexpr bool kEngine = false;
const std::string kNewLine = "\r\n";
#else
constexpr bool kEngine = true;
const std::string kNewLine = "\n";
#endif

constexpr const char* kWineRewrites =
    "Wine rewrites the whole file: CRLF endings, no blank lines, comments kept as keys";

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
      {"plain", "[S]\nk=1\n", "S", "k", "1"},
      {"names ignore letter case", "[Colours]\nBackGround=red\n", "cOLOURS", "background", "red"},
      {"blanks around names and value", "  [ S ]  \n \t k \t= \t v  v \t\n", "S", "k", "v  v"},
      {"blanks around the asked names", "[S]\nk=1\n", " S\t", "\tk ", "1"},
      {"double quotes removed", "[S]\nk=\"a b\"\n", "S", "k", "a b"},
      {"single quotes removed, inner blanks kept", "[S]\nk= ' a ' \n", "S", "k", " a "},
      {"quoted empty value", "[S]\nk=''\n", "S", "k", ""},
      {"unmatched quotes stay", "[S]\nk='x\"\n", "S", "k", "'x\""},
      {"a lone quote stays", "[S]\nk='\n", "S", "k", "'"},
      {"comment lines are no keys", "[S]\n;k=1\n  ; k=2\nk=3\n", "S", "k", "3"},
      {"commented-out key is missing", "[S]\n;k=1\n", "S", "k", "<def>"},
      {"no inline comments", "[S]\nk=v ; note\n", "S", "k", "v ; note"},
      {"value split at the first =", "[S]\nk = a=b\n", "S", "k", "a=b"},
      {"first duplicate section wins", "[S]\nk=1\n[T]\n[s]\nk=2\n", "S", "k", "1"},
      {"later duplicate section unread", "[S]\nk=1\n[S]\nj=2\n", "S", "j", "<def>"},
      {"first duplicate key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"CR line endings", "[S]\rj=0\rk=1\r", "S", "k", "1"},
      {"CRLF line endings", "[S]\r\nj=0\r\nk=1\r\n", "S", "k", "1"},
      {"mixed line endings", "[A]\r\nx=0\n[S]\rj=0\r\nk=1\n", "S", "k", "1"},
      {"no final line ending", "[S]\nk=1", "S", "k", "1"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
      {"missing file", std::nullopt, "S", "k", "<def>"},
      {"missing section", "[T]\nk=1\n", "S", "k", "<def>"},
      {"missing key", "[S]\nj=1\n", "S", "k", "<def>"},
      {"key of the next section", "[S]\n[T]\nk=1\n", "S", "k", "<def>"},
      {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
      {"blank value is empty", "[S]\nk= \t \n", "S", "k", ""},
      {"line without =", "[S]\nk\n", "S", "k", "<def>"},
      {"key before any section", "k=1\n[S]\n", "S", "k", "<def>"},
      {"[ without ] is no header", "[S]\n[T\nk=1\n", "S", "k", "1"},
      {"text after ] ignored", "[S] ; x\nk=1\n", "S", "k", "1"},
      {"name runs to the last ]", "[a]b]\nk=1\n", "a]b", "k", "1"},
      {"binary bytes", "[S]\nk=\x01\x7f\x80\xfe\xff\n", "S", "k", "\x01\x7f\x80\xfe\xff"},
      {"NUL ends the value", "[S]\nk=ab\0cd\nj=2\n"s, "S", "k", "ab"},
      {"NUL after trimming", "[S]\nk=ab \0 cd\n"s, "S", "k", "ab "},
      {"line after a NUL", "[S]\nk=a\0b\nj=2\n"s, "S", "j", "2"},
      {"NUL ends the key name", "[S]\nk\0junk=1\n"s, "S", "k", "1"},
      {"value cut at max_chars", "[S]\nk=abcdef\n", "S", "k", "abc", "<def>", 3},
      {"max_chars 0", "[S]\nk=abcdef\n", "S", "k", "", "<def>", 0},
      {"default loses trailing spaces", "[S]\n", "S", "k", " ab", " ab  "},
      {"default cut at max_chars", std::nullopt, "S", "k", "abc", "abcdef", 3},
  };
  TempFolder folder;
  for (size_t i = 0; i < cases.size(); ++i) {
    const TextCase& c = cases[i];
    SCOPED_TRACE(c.name);
    const std::string path = folder / ("text" + std::to_string(i) + ".ini");
    if (c.file) WriteFile(path, *c.file);
    EXPECT_EQ(platform::ProfileReadText(path, c.section, c.key, c.def, c.max_chars), c.expected);
  }
}

TEST(ProfileRead, NumberVectors) {
  constexpr int kDef = -777;
  const struct {
    std::string value;
    int expected;
  } cases[] = {
      {"0x10", 16}, {" 12abc", 12}, {"-", 0}, {"99999999999", 1215752191}, {"-12", -12},
      {" +7", 7}, {"0o17", 15}, {"'5'", 5}, {"\"-3\"", -3}, {"4294967295", -1},
      {"-2147483649", 2147483647}, {"0x", 0}, {"0xZ", 0}, {"- 5", 0}, {"  -0x10", -16},
      {"+-5", 0}, {"12 34", 12}, {"0X1f", 0}, {"\t9", 9}, {"0x80000000", INT_MIN},
      {"0xFFFFFFFFF", -1}, {"0777", 777}, {"1e3", 1}, {" ", kDef}, {"", kDef},
      {"''", kDef}, {"' '", 0}, {"0b101", 5}, {"0b12", 1}, {"0o9", 0}, {"0xfF", 255},
      {"-0b11", -3}, {"2147483648", INT_MIN}, {"\x01" "5", 5},
      // Only the first 29 characters count.
      {"00000000000000000000000000001", 1}, {"000000000000000000000000000001", 0},
      {"12345678901234567890123456789012345", 1849262357},
  };
  TempFolder folder;
  int i = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("value \"" + c.value + "\"");
    const std::string path = folder / ("number" + std::to_string(i++) + ".ini");
    WriteFile(path, "[S]\nk=" + c.value + "\n");
    EXPECT_EQ(platform::ProfileReadNumber(path, "S", "k", kDef), c.expected);
  }
  WriteFile(folder / "none.ini", "[S]\nj=5\n");
  EXPECT_EQ(platform::ProfileReadNumber(folder / "none.ini", "S", "k", kDef), kDef);
  EXPECT_EQ(platform::ProfileReadNumber(folder / "absent.ini", "S", "k", 3), 3);
}

TEST(ProfileRead, LongValues) {
  TempFolder folder;
  std::string pattern;
  for (int i = 0; i < 100000; ++i) pattern += static_cast<char>('a' + (i * 7) % 26);

  WriteFile(folder / "long.ini", "[S]\nk=" + pattern.substr(0, 5000) + "\n");
  EXPECT_EQ(platform::ProfileReadText(folder / "long.ini", "S", "k", "", 2047),
            pattern.substr(0, 2047));

  WriteFile(folder / "huge.ini", "[S]\nk=" + pattern + "\r\nj=2\r\n");
  EXPECT_EQ(platform::ProfileReadText(folder / "huge.ini", "S", "k", "", 100000), pattern);
  EXPECT_EQ(platform::ProfileReadText(folder / "huge.ini", "S", "j", "", 2047), "2");
}

struct WriteCase {
  const char* name;
  std::optional<std::string> before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
  const char* engine_only = nullptr;  // why Wine differs
};

TEST(ProfileWrite, Vectors) {
  const std::vector<WriteCase> cases = {
      {"replace in place", "[S]\r\nk=1\r\nj=2\r\n", "S", "k", "9", "[S]\r\nk=9\r\nj=2\r\n"},
      {"file's spelling kept", "[Sec]\r\nKey=1\r\n", "SEC", "KEY", "5", "[Sec]\r\nKey=5\r\n"},
      {"first duplicate key replaced", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3",
       "[S]\r\nk=3\r\nk=2\r\n"},
      {"new key after the section's last key", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n", "S", "n", "3",
       "[S]\r\nk=1\r\nn=3\r\n[T]\r\nj=2\r\n"},
      {"new key in the first duplicate section", "[S]\r\nk=1\r\n[S]\r\nj=1\r\n", "S", "j", "2",
       "[S]\r\nk=1\r\nj=2\r\n[S]\r\nj=1\r\n"},
      {"new key in a section without keys", "[S]\r\n[T]\r\nj=1\r\n", "S", "k", "v",
       "[S]\r\nk=v\r\n[T]\r\nj=1\r\n"},
      {"new section at the end", "[S]\r\nk=1\r\n", "T", "j", "2", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n"},
      {"new section, no final line ending", "[S]\r\nk=1", "T", "j", "2",
       "[S]\r\nk=1\r\n[T]\r\nj=2\r\n"},
      {"new file", std::nullopt, "S", "k", "v", "[S]" + kNewLine + "k=v" + kNewLine},
      {"empty file", "", "S", "k", "v", "[S]" + kNewLine + "k=v" + kNewLine},
      {"byte-order mark kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
       "\xEF\xBB\xBF[S]\r\nk=2\r\n"},
      {"blanks and = inside the value", "[S]\r\nk=1\r\n", "S", "k", "a b = c",
       "[S]\r\nk=a b = c\r\n"},
      {"empty value", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
      {"key before any section untouched", "k=0\r\n[S]\r\nk=1\r\n", "S", "k", "2",
       "k=0\r\n[S]\r\nk=2\r\n"},
      {"new key before the section's closing blank and comment lines",
       "[S]\nk=1\n\n; n=0\n[T]\nj=2\n", "S", "n", "3", "[S]\nk=1\nn=3\n\n; n=0\n[T]\nj=2\n",
       kWineRewrites},
      {"CR file keeps CR", "[S]\rk=1\r", "T", "j", "2", "[S]\rk=1\r[T]\rj=2\r", kWineRewrites},
      {"mixed endings: first one for new lines, others kept", "[S]\r\nk=1\n; c\rj=2\n", "S", "n",
       "3", "[S]\r\nk=1\n; c\rj=2\nn=3\r\n", kWineRewrites},
      {"replace keeps the line up to =", "[S]\n  K \t= old ; c\n", "S", "k", "new",
       "[S]\n  K \t=new\n", "Wine rewrites the line as K=new"},
      {"odd bytes on other lines kept", "[S]\nk=1\nbin=\x01\xff\0z\n\n"s, "S", "k", "2",
       "[S]\nk=2\nbin=\x01\xff\0z\n\n"s, "Wine cuts lines at a NUL when it rewrites them"},
      {"replace keeps a missing final line ending", "[S]\nk=1", "S", "k", "2", "[S]\nk=2",
       kWineRewrites},
      {"new key after a last line without ending", "[S]\nk=1", "S", "n", "2", "[S]\nk=1\nn=2\n",
       kWineRewrites},
  };
  TempFolder folder;
  for (size_t i = 0; i < cases.size(); ++i) {
    const WriteCase& c = cases[i];
    SCOPED_TRACE(c.name);
    if (!kEngine && c.engine_only != nullptr) continue;
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    if (c.before) WriteFile(path, *c.before);
    EXPECT_TRUE(platform::ProfileWriteText(path, c.section, c.key, c.value));
    EXPECT_EQ(ReadFile(path), c.after);
    EXPECT_EQ(platform::ProfileReadText(path, c.section, c.key, "<def>", 2047), c.value);
  }
}

TEST(ProfileWrite, ReadsBackWhatWasWritten) {
  TempFolder folder;
  const std::string path = folder / "Quorlith.ini";
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } writes[] = {
      {"Window", "Left", "-12"},          {"Window", "Top", "0"},
      {"Paths", "Target", "C:\\My Files\\out put.txt"},
      {"Form", "Pattern", "%1=%2 ; \"x\""}, {"Window", "Left", "-300"},
      {"window", "LEFT", "-7"},
  };
  for (const auto& w : writes) {
    SCOPED_TRACE(std::string(w.section) + "/" + w.key + "=" + w.value);
    EXPECT_TRUE(platform::ProfileWriteText(path, w.section, w.key, w.value));
  }
  EXPECT_EQ(platform::ProfileReadText(path, "Window", "Left", "", 2047), "-7");
  EXPECT_EQ(platform::ProfileReadNumber(path, "Window", "Left", 99), -7);
  EXPECT_EQ(platform::ProfileReadNumber(path, "Window", "Top", 99), 0);
  EXPECT_EQ(platform::ProfileReadText(path, "Paths", "Target", "", 2047),
            "C:\\My Files\\out put.txt");
  EXPECT_EQ(platform::ProfileReadText(path, "Form", "Pattern", "", 2047), "%1=%2 ; \"x\"");
}

TEST(ProfileWrite, RefusesWhatItCannotWrite) {
  TempFolder folder;
  testing_support::MakeFolder(folder / "sub");
  EXPECT_FALSE(platform::ProfileWriteText(folder / "sub", "S", "k", "v")) << "a folder";
  EXPECT_FALSE(platform::ProfileWriteText(folder / "gone/Quorlith.ini", "S", "k", "v"));
  EXPECT_FALSE(Exists(folder / "gone"));

  // A line break in a value cannot be read back. Wine writes it anyway;
  // the engine leaves the file alone.
  const std::string path = folder / "Quorlith.ini";
  WriteFile(path, "[S]\nk=1\n");
  EXPECT_FALSE(platform::ProfileWriteText(path, "S", "k", "a\nb"));
  if (kEngine) {
    EXPECT_EQ(ReadFile(path), "[S]\nk=1\n");
  }
}

}  // namespace
