// The platform boundary on Windows: UTF-8 to UTF-16 and back, and the long
// form of paths.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace platform::win32;

TEST(WideText, NamesRoundTripWhole) {
  const struct {
    std::string utf8;
    std::wstring utf16;
  } cases[] = {
      {"C:\\\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.txt",
       L"C:\\\u041E\u0442\u0447\u0451\u0442.txt"},
      {"\xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC", L"\u03B1\u03B2 \u65E5\u672C"},
      {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},                  // a pair of surrogates
      {"e\xCC\x81", L"e\u0301"},                               // combining accent
      {"a\xED\xA0\x80" "b\xED\xB0\x80", L"a\xD800" L"b\xDC00"},  // unpaired surrogates
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_TRUE(Widen(c.utf8) == c.utf16);
    EXPECT_EQ(Narrow(c.utf16), c.utf8);
    EXPECT_TRUE(IsUtf8(c.utf8));
  }
}

TEST(WideText, BytesOfNoSequenceBecomeReplacements) {
  const struct {
    std::string bytes;
    std::wstring utf16;
  } cases[] = {
      {"Donn\xE9" "es", L"Donn\xFFFD" L"es"},     // Windows-1252
      {"\xC0\xAF", L"\xFFFD\xFFFD"},              // overlong
      {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
      {"\xE6\x97", L"\xFFFD\xFFFD"},              // cut short
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_TRUE(Widen(c.bytes) == c.utf16);
    EXPECT_FALSE(IsUtf8(c.bytes));
  }
  EXPECT_EQ(FromCodePage("Donn\xE9" "es \x80", 1252), "Donn\xC3\xA9" "es \xE2\x82\xAC");
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
