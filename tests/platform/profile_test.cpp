// The INI engine both programs read and edit the settings file with: what a
// read finds, and the bytes a write leaves (every other byte untouched).
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::string_literals;
using namespace testing_support;

TEST(Profile, ReadVectors) {
  const struct {
    std::string file;
    const char* key;
    std::string expected;
    int max_chars = 2047;
  } cases[] = {{"[T]\nk=1\n[s]\nK=red\n", "k", "red"},
               {"  [ S ]  \n \t k \t= \t v  v \t\n", "k", "v  v"},
               {"[S]\nk=\"a b\"\n", "k", "a b"},
               {"[S]\nk= ' a ' \n", "k", " a "},
               {"[S]\nk='\n", "k", "'"},
               {"[S]\n;k=1\n  ; k=2\nk=v ; note\n", "k", "v ; note"},
               {"[S]\nk = a=b\n", "k", "a=b"},
               {"[S]\nk=1\n[T]\n[s]\nk=2\nK=3\n", "k", "1"},
               {"[S]\rj=0\rk=1\r", "k", "1"},
               {"\xEF\xBB\xBF[S]\r\nk=1", "k", "1"},
               {"[T]\nk=1\n[S]\n", "k", "<def>"},
               {"[S]\n[T\nk=1\n", "k", "1"},
               {"[S]\nk=\n", "k", ""},
               {"[S]\nk=ab\0cd\nj=2\n"s, "k", "ab"},
               {"[S]\nk=a\0b\nj=2\n"s, "j", "2"},
               {"[S]\nk=abcdef\n", "k", "abc", 3}};
  TempFolder folder;
  EXPECT_EQ(platform::ProfileReadText(folder / "absent.ini", "S", "k", " ab  ", 9), " ab");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    WriteFile(folder / "read.ini", c.file);
    EXPECT_EQ(platform::ProfileReadText(folder / "read.ini", "S", c.key, "<def>", c.max_chars),
              c.expected);
  }
  const std::pair<std::string, int> numbers[] = {{"0x10", 16},
                                                 {" 12abc", 12},
                                                 {"-12", -12},
                                                 {" +7", 7},
                                                 {"+-5", 0},
                                                 {"99999999999", 1215752191},
                                                 {"4294967295", -1},
                                                 {"0x80000000", INT_MIN},
                                                 {"  -0x10", -16},
                                                 {"0X1f", 0},
                                                 {"0o17", 15},
                                                 {"0b101", 5},
                                                 {"0777", 777},
                                                 {"\"-3\"", -3},
                                                 {"", -7},
                                                 {"''", -7},
                                                 {"00000000000000000000000000001", 1},
                                                 {"000000000000000000000000000001", 0}};
  for (const auto& [value, expected] : numbers) {
    SCOPED_TRACE(value);
    WriteFile(folder / "number.ini", "[S]\nk=" + value + "\n");
    EXPECT_EQ(platform::ProfileReadNumber(folder / "number.ini", "S", "k", -7), expected);
  }
}

TEST(Profile, WriteVectors) {
#ifdef _WIN32
  const std::string nl = "\r\n";
#else
  const std::string nl = "\n";
#endif
  const struct {
    std::string before;  // empty: no file
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  } cases[] = {
      {"[S]\r\nk=1\r\nj=2\r\n", "S", "k", "a b = c", "[S]\r\nk=a b = c\r\nj=2\r\n"},
      {"[S]\r\nk=1\r\n[T]\r\nj=2\r\n", "S", "n", "", "[S]\r\nk=1\r\nn=\r\n[T]\r\nj=2\r\n"},
      {"[S]\r\n[T]\r\nj=1\r\n", "S", "k", "v", "[S]\r\nk=v\r\n[T]\r\nj=1\r\n"},
      {"[S]\r\nk=1", "T", "j", "2", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n"},
      {"", "S", "k", "v", "[S]" + nl + "k=v" + nl},
      {"; c\r\n[S]\n  K \t= old ; x\n\nb=\x01\xff\0z\r[T]\rj=2"s, "S", "k", "new",
       "; c\r\n[S]\n  K \t=new\n\nb=\x01\xff\0z\r[T]\rj=2"s},
      {"[S]\nk=1\n\n; n=0\n[T]\nj=2\n", "S", "n", "3", "[S]\nk=1\nn=3\n\n; n=0\n[T]\nj=2\n"},
      {"[S]\rk=1\r", "T", "j", "2", "[S]\rk=1\r[T]\rj=2\r"},
      {"[S]\nk=1", "S", "n", "2", "[S]\nk=1\nn=2\n"}};
  TempFolder folder;
  int i = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    const std::string path = folder / ("write" + std::to_string(i++) + ".ini");
    if (!c.before.empty()) WriteFile(path, c.before);
    EXPECT_TRUE(platform::ProfileWriteText(path, c.section, c.key, c.value));
    EXPECT_EQ(ReadFile(path), c.after);
  }
  // A line break in a value could not be read back: the file is left alone.
  EXPECT_FALSE(platform::ProfileWriteText(folder / "write0.ini", "S", "k", "a\nb"));
  EXPECT_EQ(ReadFile(folder / "write0.ini"), cases[0].after);
  EXPECT_FALSE(platform::ProfileWriteText(folder / "gone/write.ini", "S", "k", "v"));
}

// Several keys in one write: each in its place, new ones where a single write puts them, every
// other byte as it was; a file that already holds the values is not replaced; a failure leaves
// the file whole and says why.
TEST(Profile, SeveralKeysGoInOneWriteThatChangesNothingElse) {
  namespace fs = std::filesystem;
  using Entries = std::vector<platform::ProfileEntry>;
  const std::string hand =
      "\xEF\xBB\xBF; mine\r\n[Options]\r\nCommandMode = 1 \r\nwslroot=\\\\x\r\n"
      "\r\n; end\r\n[Coordinates]\nb=0";
  const struct {
    const char* name;
    Entries entries;
    std::string after;
  } cases[] = {
      {"two in place",
       {{"Options", "CommandMode", "2"}, {"Coordinates", "b", "1"}},
       "\xEF\xBB\xBF; mine\r\n[Options]\r\nCommandMode =2\r\nwslroot=\\\\x\r\n\r\n; end\r\n"
       "[Coordinates]\nb=1"},
      {"new keys and a new section",
       {{"Options", "encase", "1"}, {"Coordinates", "t", "40"}, {"New", "k", "v"}},
       "\xEF\xBB\xBF; mine\r\n[Options]\r\nCommandMode = 1 \r\nwslroot=\\\\x\r\nencase=1\r\n"
       "\r\n; end\r\n[Coordinates]\nb=0\r\nt=40\r\n[New]\r\nk=v\r\n"},
      {"the values it holds", {{"Options", "CommandMode", "1"}, {"Coordinates", "b", "0"}}, hand}};
  TempFolder folder;
  const std::string path = folder / "Quorlith.ini";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(path, hand);
    // A file that needs no change is not even replaced: a read-only one stays so, untouched.
    const bool same = c.after == hand;
    if (same) fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
    std::string reason = "?";
    EXPECT_TRUE(platform::ProfileWriteTexts(path, c.entries, reason));
    EXPECT_EQ(reason, "");
    EXPECT_EQ(ReadFile(path), c.after);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  }

  const std::string gone = folder / "gone/Quorlith.ini", plain = folder / "plain.ini";
  fs::create_directory(folder / "a folder.ini");
  WriteFile(plain, hand);
  const struct {
    const char* name;
    std::string path;
    Entries entries;
  } failures[] = {
      {"read-only", plain, {{"Options", "CommandMode", "2"}}},
      {"its folder gone", gone, {{"Options", "CommandMode", "2"}}},
      {"a folder", folder / "a folder.ini", {{"Options", "CommandMode", "2"}}},
      {"a line break", plain, {{"Options", "CommandMode", "2"}, {"Options", "k", "a\nb"}}}};
  for (const auto& f : failures) {
    SCOPED_TRACE(f.name);
    const bool read_only = std::string(f.name) == "read-only";
    if (read_only) fs::permissions(plain, fs::perms::owner_write, fs::perm_options::remove);
    std::string reason;
    EXPECT_FALSE(platform::ProfileWriteTexts(f.path, f.entries, reason));
    EXPECT_NE(reason, "");
    EXPECT_EQ(ReadFile(plain), hand);
    EXPECT_FALSE(Exists(gone));
    if (read_only) fs::permissions(plain, fs::perms::owner_write, fs::perm_options::add);
  }
  EXPECT_EQ(NamesIn(folder.path()),
            (std::vector<std::string>{"Quorlith.ini", "a folder.ini", "plain.ini"}));
}

}  // namespace
