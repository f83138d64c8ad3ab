// The platform boundary on Windows: UTF-8 to UTF-16 and back, and the long
// form of paths. Names in every script pass through the file and drop tests.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace platform::win32;

// Unpaired surrogates, which Windows names may hold, come back whole; bytes
// of no valid sequence (overlong, beyond U+10FFFF, cut short) become U+FFFD.
TEST(WideText, SurrogatesRoundTripAndBadBytesAreReplaced) {
  const std::string lone = "a\xED\xA0\x80" "b\xED\xB0\x80\xF0\x9F\x98\x80";
  EXPECT_TRUE(Widen(lone) == L"a\xD800" L"b\xDC00\xD83D\xDE00");
  EXPECT_EQ(Narrow(Widen(lone)), lone);
  EXPECT_TRUE(IsUtf8(lone));
  const std::string bad = "\xE9|\xC0\xAF|\xF4\x90\x80\x80|\xE6\x97";
  EXPECT_TRUE(Widen(bad) == L"\xFFFD|\xFFFD\xFFFD|\xFFFD\xFFFD\xFFFD\xFFFD|\xFFFD\xFFFD");
  EXPECT_FALSE(IsUtf8(bad));
}

// Long full paths get the long form, made as the system would make the path;
// short and relative ones pass as they are.
TEST(LongPath, OnlyLongFullPathsGetTheLongForm) {
  const std::string dir(300, 'd');
  const std::wstring wdir(300, L'd');
  const struct {
    std::string path;
    std::wstring system;
  } cases[] = {
      {"C:\\a/b.txt", L"C:\\a/b.txt"},
      {"C:\\" + dir + "/x/../f.txt", L"\\\\?\\C:\\" + wdir + L"\\f.txt"},
      {"\\\\server\\share\\" + dir, L"\\\\?\\UNC\\server\\share\\" + wdir},
      {"rel\\" + dir, L"rel\\" + wdir},
      {"\\\\?\\C:\\" + dir + "\\..", L"\\\\?\\C:\\" + wdir + L"\\.."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 20));
    EXPECT_TRUE(SystemPath(c.path) == c.system);
  }
  EXPECT_EQ(ProgramPath(L"\\\\?\\C:\\\u00E9"), "C:\\\xC3\xA9");
  EXPECT_EQ(ProgramPath(L"\\\\?\\UNC\\server\\share"), "\\\\server\\share");
}

}  // namespace
