// Opens a document through the shell's "open" verb.
#include <windows.h>
#include <shellapi.h>

#include "platform/native_ui.h"
#include "platform/win32/wide_text.h"

namespace platform::native {

bool OpenWithDefaultApp(const std::string& path) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", win32::Widen(path).c_str(), L"", nullptr, SW_SHOWNORMAL);
  // Values up to 32 are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform::native
