// The system clipboard, as plain text.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Replaces the clipboard content with text. Waits a short, bounded time when
// another program holds the clipboard; false when it could not be had.
bool PutClipboardText(const std::string& text);

// Tests capture the clipboard: while a handler is set, the text goes to it and
// its result is returned. An empty handler restores the real clipboard.
using ClipboardHandler = std::function<bool(const std::string& text)>;
void SetClipboardHandler(ClipboardHandler handler);

}  // namespace platform
