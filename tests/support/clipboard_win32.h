// Reading the real Win32 clipboard back, as other programs read it.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>

#include "platform/win32/wide_text.h"

namespace testing_support {

// The text up to its NUL (UTF-8, or the bytes for CF_TEXT); nothing without text or NUL.
inline std::optional<std::string> ClipboardText(UINT format = CF_UNICODETEXT) {
  for (int tries = 0; !OpenClipboard(nullptr); ++tries) {
    if (tries == 100) return std::nullopt;
    Sleep(20);
  }
  std::optional<std::string> text;
  HANDLE block = GetClipboardData(format);
  const size_t size = block ? GlobalSize(block) / (format == CF_TEXT ? 1 : 2) : 0;
  if (const void* data = block ? GlobalLock(block) : nullptr) {
    const auto* bytes = static_cast<const char*>(data);
    const auto* units = static_cast<const wchar_t*>(data);
    const size_t length = format == CF_TEXT ? strnlen(bytes, size) : wcsnlen(units, size);
    if (length < size) {
      text =
          format == CF_TEXT ? std::string(bytes, length) : platform::win32::Narrow({units, length});
    }
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

// A UTF-8 text in the system's ANSI code page, as a reader of CF_TEXT gets it.
inline std::string InSystemAnsi(const std::string& text) {
  const std::wstring wide = platform::win32::Widen(text);
  std::string bytes(wide.size() * 4, '\0');
  bytes.resize(WideCharToMultiByte(platform::win32::SystemAnsiCodePage(), 0, wide.data(),
                                   static_cast<int>(wide.size()), bytes.data(),
                                   static_cast<int>(bytes.size()), nullptr, nullptr));
  return bytes;
}

}  // namespace testing_support
#endif
