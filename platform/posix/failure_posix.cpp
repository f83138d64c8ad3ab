// The system's words for an errno value.
#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace platform {

void NoteSystemFailure() { NoteFailure(Failure::kSystem, static_cast<unsigned long>(errno)); }

std::string SystemErrorText(unsigned long code) {
  char buffer[256] = "";
  // The GNU strerror_r returns its text, which may or may not be the buffer.
  const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
  std::string sentence = text != nullptr ? text : "Unknown error";
  if (!sentence.empty() && sentence.back() != '.') sentence += '.';
  return sentence;
}

}  // namespace platform
