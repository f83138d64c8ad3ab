#include "tests/support/clipboard_win32.h"

#ifdef _WIN32
#include <cstring>
#include <cwchar>

#include "platform/win32/wide_text.h"

namespace testing_support {

std::optional<std::string> ClipboardText(UINT format) {
  for (int tries = 0; !OpenClipboard(nullptr); ++tries) {
    if (tries == 100) return std::nullopt;
    Sleep(20);
  }
  std::optional<std::string> text;
  if (HANDLE block = GetClipboardData(format)) {
    const SIZE_T size = GlobalSize(block);
    if (const void* data = GlobalLock(block)) {
      if (format == CF_TEXT) {
        const char* bytes = static_cast<const char*>(data);
        const size_t length = strnlen(bytes, size);
        if (length < size) text = std::string(bytes, length);
      } else {
        const wchar_t* units = static_cast<const wchar_t*>(data);
        const size_t length = wcsnlen(units, size / 2);
        if (length < size / 2) text = platform::win32::Narrow({units, length});
      }
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

std::string InSystemAnsi(const std::string& text) {
  const std::wstring wide = platform::win32::Widen(text);
  const UINT code_page = platform::win32::SystemAnsiCodePage();
  std::string bytes(wide.size() * 4, '\0');
  bytes.resize(WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                   bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr));
  return bytes;
}

}  // namespace testing_support
#endif
