// Reading the real Win32 clipboard back, as other programs read it.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

// The clipboard text up to its NUL: UTF-8 for CF_UNICODETEXT, the bytes for
// CF_TEXT; nothing when there is none or the block holds no NUL.
std::optional<std::string> ClipboardText(UINT format = CF_UNICODETEXT);
// What the system makes of a UTF-8 text for a reader of CF_TEXT: the text in
// the system's ANSI code page.
std::string InSystemAnsi(const std::string& text);

}  // namespace testing_support
#endif
