// The Win32 message box, owned by the active window of this thread.
#include <windows.h>

#include "platform/native_ui.h"

namespace platform::native {

int ShowMessageBox(const char* text, const char* caption, uint32_t style) {
  return MessageBoxA(GetActiveWindow(), text, caption, style);
}

}  // namespace platform::native
