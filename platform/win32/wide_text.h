// The platform boundary on Windows: the program's texts are UTF-8, the
// system's W functions take UTF-16. Names travel through both directions
// whole, including the unpaired surrogates that Windows file names may hold
// (they pass as the three-byte sequences of the generalized UTF-8, so such a
// name comes back to the system exactly as it came).
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-16 of a UTF-8 text. A byte that starts no valid sequence becomes
// U+FFFD; every valid sequence, an encoded surrogate included, is kept.
std::wstring Widen(std::string_view utf8);
// UTF-8 of a UTF-16 text; an unpaired surrogate keeps its three-byte form.
std::string Narrow(std::wstring_view utf16);
// True when Widen takes every byte of the text as part of a valid sequence.
bool IsUtf8(std::string_view text);
// The ANSI code page of the system: the one the program used for its texts
// before it spoke UTF-8, whatever the process's own code page is now.
unsigned SystemAnsiCodePage();
// UTF-8 of bytes in the given code page.
std::string FromCodePage(std::string_view bytes, unsigned code_page);

}  // namespace platform::win32
