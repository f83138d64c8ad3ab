// The operating system's own message box, clipboard and document opening,
// behind the test hooks of message_box.h, clipboard.h and shell_open.h.
// Only the platform layer includes this: everything else calls the hooked
// functions, which come here when no handler is set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace platform::native {

// text and caption are never null here.
int ShowMessageBox(const char* text, const char* caption, uint32_t style);
bool PutClipboardText(const std::string& text);
std::optional<ClipboardFiles> ReadClipboardFiles();
bool OpenWithDefaultApp(const std::string& path);

}  // namespace platform::native
