// The Win32 message box, owned by the active window of this thread. The
// texts are UTF-8 here, so names in any script show as they are.
#include <windows.h>

#include "platform/native_ui.h"
#include "platform/win32/wide_text.h"

namespace platform::native {

int ShowMessageBox(const char* text, const char* caption, uint32_t style) {
  return MessageBoxW(GetActiveWindow(), win32::Widen(text).c_str(), win32::Widen(caption).c_str(),
                     style);
}

}  // namespace platform::native
