// The system's words for a GetLastError() value, in the user's language.
#include <windows.h>

#include <cstdio>

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace platform {

void NoteSystemFailure() { NoteFailure(Failure::kSystem, GetLastError()); }

std::string SystemErrorText(unsigned long code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string sentence;
  if (length > 0 && text != nullptr) sentence = win32::Narrow({text, length});
  if (text != nullptr) LocalFree(text);
  // The system ends its texts with a line break.
  while (!sentence.empty() &&
         (sentence.back() == '\n' || sentence.back() == '\r' || sentence.back() == ' ')) {
    sentence.pop_back();
  }
  if (sentence.empty()) {
    char number[32];
    std::snprintf(number, sizeof number, "Error %lu.", code);
    sentence = number;
  }
  return sentence;
}

}  // namespace platform
