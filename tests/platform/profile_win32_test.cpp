// Settings files that only Windows has: files from the time the program
// wrote its texts in the ANSI code page, and files saved as UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "platform/profile.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace testing_support;

std::string Utf16(const std::wstring& text) {
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// Each file is read, then x is written: the destination reads as the user
// meant it, and the write changes no other byte of the file.
TEST(ProfileWindows, OlderAndUtf16FilesReadAndKeepTheirBytes) {
  if (platform::win32::SystemAnsiCodePage() != 1252) GTEST_SKIP() << "needs a Western system";
  const std::wstring options = L"[Options]\r\nCopyDestination=C:\\Donn\u00E9es\\\r\n";
  const std::wstring text = L"[Coordinates]\r\nx=1\r\n" + options;
  const std::wstring written = L"[Coordinates]\r\nx=42\r\n" + options;
  const std::string old_options = "[Options]\r\nCopyDestination=C:\\Donn\xE9" "es\\\r\n";
  const struct {
    const char* what;
    std::string before, after;
  } cases[] = {
      {"Windows-1252", "[Coordinates]\r\nx=1\r\n" + old_options,
       "[Coordinates]\r\nx=42\r\n" + old_options},
      {"UTF-8", platform::win32::Narrow(text), platform::win32::Narrow(written)},
      {"UTF-16", Utf16(text), Utf16(written)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string path = folder / "Quorlith.ini";
    WriteFile(path, c.before);
    EXPECT_EQ(platform::ProfileReadText(path, "Options", "CopyDestination", "", 2047),
              "C:\\Donn\xC3\xA9" "es\\");
    EXPECT_TRUE(platform::ProfileWriteText(path, "Coordinates", "x", "42"));
    EXPECT_EQ(ReadFile(path), c.after);
  }
}

}  // namespace
