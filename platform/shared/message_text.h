// Pieces of the message box that do not depend on how it is shown.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The program separates lines with a lone carriage return; other systems
// break lines on "\n". A "\r\n" pair is one line break as well.
std::string WithNewlines(const char* text);

// The answer a box gives when it is dismissed (Escape, its close button):
// Cancel where there is one, No for Yes/No, otherwise OK.
int DismissAnswer(uint32_t style);

// A box without a screen: caption and text on standard error, answered as if
// dismissed.
int ReportOnConsole(const char* text, const char* caption, uint32_t style);

}  // namespace platform
