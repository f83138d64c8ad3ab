// The real clipboard as others read it: exact names as CF_UNICODETEXT, CF_TEXT converted.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/clipboard.h"
#include "platform/win32/wide_text.h"

// The clipboard's text in format, as UTF-8 for CF_UNICODETEXT.
static std::string ClipboardText(UINT format) {
  if (!OpenClipboard(nullptr)) return "<busy>";
  const HANDLE block = GetClipboardData(format);
  const void* data = block ? GlobalLock(block) : nullptr;
  const std::string text = data == nullptr ? "<none>"
                           : format == CF_TEXT
                               ? std::string(static_cast<const char*>(data))
                               : platform::win32::Narrow(static_cast<const wchar_t*>(data));
  if (data != nullptr) GlobalUnlock(block);
  CloseClipboard();
  return text;
}

TEST(UiWin32, TheClipboardHoldsTheExactNames) {
  for (const std::string text : {"C:\\a\\report.txt\rC:\\b c\\d.txt",
                                 "C:\\\xD0\x9E\xD1\x82\xD1\x87"
                                 "\xD1\x91\xD1\x82.txt\rD:\\\xE6\x97\xA5\xF0\x9F\x98\x80.txt"}) {
    ASSERT_TRUE(platform::PutClipboardText(text));
    EXPECT_EQ(ClipboardText(CF_UNICODETEXT), text);
    const std::wstring wide = platform::win32::Widen(text);
    std::string ansi(wide.size() * 4 + 1, '\0');
    ansi.resize(WideCharToMultiByte(platform::win32::SystemAnsiCodePage(), 0, wide.c_str(), -1,
                                    ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr) -
                1);
    EXPECT_EQ(ClipboardText(CF_TEXT), ansi);  // the system's conversion, "?" where it has none
  }
}
