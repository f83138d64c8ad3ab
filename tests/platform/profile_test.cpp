// The settings file functions on real files, in both builds: reads as the
// Windows profile functions read, writes that change no byte but the value's.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

using namespace std::string_literals;
using namespace testing_support;
using platform::ProfileReadText;

TEST(Profile, ReadText) {
  std::string huge;  // a long line, with bytes that show a shifted or cut value
  for (int i = 0; i < 100000; ++i) huge += static_cast<char>('a' + (i * 7) % 26);
  const struct {
    std::string file, value;  // of key k in section S
  } rows[] = {
      {"[s]\r\nK = v", "v"},           {" [ S ] x\n \t k \t= \t v  v \t", "v  v"},
      {"[S]\nk=\"a b\"", "a b"},        {"[S]\nk= ' a ' ", " a "},
      {"[S]\nk='", "'"},                {"[S]\n;k=1\n ; k=2\nk=v ; c", "v ; c"},
      {"[S]\nk = a=b", "a=b"},          {"[S]\nk=1\nK=2\n[T]\n[s]\nk=3", "1"},
      {"\xEF\xBB\xBF[S]\rj=0\r\nk=1\r", "1"}, {"[S]\n[T]\nk=1", "<def>"},
      {"[S]\n[T\nk=", ""},              {"[S]\nk=ab\0cd\nj=2"s, "ab"},
      {"[S]\nj=a\0b\nk=2"s, "2"},       {"[S]\nk=" + huge + "\r\nj=2", huge},
  };
  TempFolder folder;
  const std::string path = folder / "read.ini";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file.substr(0, 40));
    WriteFile(path, row.file);
    EXPECT_TRUE(ProfileReadText(path, "S", "k", "<def>", 100000) == row.value);
  }
  EXPECT_EQ(ProfileReadText(path, "S", "k", "", 3), huge.substr(0, 3));
  EXPECT_EQ(ProfileReadText(path, "S", "x", " ab  ", 9), " ab");  // trailing blanks go
  EXPECT_EQ(ProfileReadText(folder / "missing.ini", "S", "k", "<def>", 9), "<def>");
}

TEST(Profile, ReadNumber) {
  const struct {
    std::string value;
    int expected;
  } rows[] = {
      {"0x1f", 31}, {" 12abc", 12}, {"\t9", 9}, {"-12", -12}, {" +7", 7}, {"-", 0}, {"+-5", 0},
      {"99999999999", 1215752191}, {"4294967295", -1}, {"-2147483649", 2147483647},
      {"0x80000000", INT_MIN}, {"  -0xAb", -171}, {"0X1f", 0}, {"0o17", 15}, {"0b101", 5},
      {"0777", 777}, {"1e3", 1}, {"\"-3\"", -3}, {"", -777}, {"''", -777},
      {"00000000000000000000000000001", 1}, {"000000000000000000000000000001", 0},  // 29 count
  };
  TempFolder folder;
  for (const auto& row : rows) {
    SCOPED_TRACE("value \"" + row.value + "\"");
    WriteFile(folder / "n.ini", "[S]\nk=" + row.value + "\n");
    EXPECT_EQ(platform::ProfileReadNumber(folder / "n.ini", "S", "k", -777), row.expected);
  }
  EXPECT_EQ(platform::ProfileReadNumber(folder / "n.ini", "S", "j", 3), 3);
}

// A write changes no byte but the value's, new lines in the file's line ending;
// a key or value that could not read back is refused, the file left alone.
TEST(Profile, Write) {
  const struct {
    std::string before, key, value, after;  // after empty: refused
  } rows[] = {{"[S]\r\nk=1\r\n[T]\r\nj=2\r\n", "n", "-3", "[S]\r\nk=1\r\nn=-3\r\n[T]\r\nj=2\r\n"},
              {"[T]\rk=1", "k", "a b = c", "[T]\rk=1\r[S]\rk=a b = c\r"},
              {"; c\r\n[S]\n  K \t= old ; x\n\nb=\x01\xff\0z\r[T]\rj=2"s, "k", "",
               "; c\r\n[S]\n  K \t=\n\nb=\x01\xff\0z\r[T]\rj=2"s},
              {"[S]\nk=1\n\n; n=0\n[T]\n", "n", "2", "[S]\nk=1\nn=2\n\n; n=0\n[T]\n"},
              {"[S]\r\nd=Donn\xE9s\r\nk=1", "k", "2", "[S]\r\nd=Donn\xE9s\r\nk=2"},
              {"[S]\nk=1", "k", "a\nb", ""}, {"[S]\nk=1", "k=x", "2", ""}, {"[S]\nk=1", ";k", "2", ""},
  };
  TempFolder folder;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.before + " + " + row.key + "=" + row.value);
    WriteFile(folder / "write.ini", row.before);
    EXPECT_EQ(platform::ProfileWriteText(folder / "write.ini", "S", row.key, row.value),
              !row.after.empty());
    EXPECT_TRUE(ReadFile(folder / "write.ini") == (row.after.empty() ? row.before : row.after));
    if (!row.after.empty()) {
      EXPECT_EQ(ProfileReadText(folder / "write.ini", "S", row.key, "-", 99), row.value);
    }
  }
  EXPECT_FALSE(platform::ProfileWriteText(folder / "gone/Quorlith.ini", "S", "k", "v"));
  EXPECT_FALSE(Exists(folder / "gone"));
}

}  // namespace
