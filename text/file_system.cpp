#include "text/file_system.h"

#include <cstring>
#include <string>

#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "text/temp_text.h"

namespace {

// Longest short form delivered, as the short-name buffer of 1023 bytes allows.
constexpr int kShortPathMax = 1022;

char* CopyToTemp(const std::string& text) {
  char* result = TempText(static_cast<int32_t>(text.size()));
  std::memcpy(result, text.data(), text.size());
  return result;
}

}  // namespace

char NativeSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

char* AppDir() {
  const std::string exe = platform::ExecutablePath();
  const size_t last = exe.find_last_of(NativeSeparator());
  if (last == std::string::npos) return TempText(0);
  return CopyToTemp(exe.substr(0, last + 1));
}

int FileExists(TextArg path) {
#ifdef _WIN32
  // "*" and "?" cannot be in Windows names: a path with one is a pattern.
  if (std::strpbrk(path, "*?") != nullptr) return platform::PatternMatches(path) ? 1 : 0;
#endif
  return platform::PathExists(path) ? 1 : 0;
}

int ShowMessage(TextArg text, TextArg caption, uint32_t flags) {
  return platform::ShowMessageBox(text, caption, flags);
}

char* SpecialFolder(int folder, int create, void* /*owner*/) {
  // No folder dialog is ever shown, so the owner window plays no part.
  return CopyToTemp(platform::SpecialFolderPath(folder, create == 1));
}

char* ShortPath(TextArg path) { return CopyToTemp(platform::ShortPathOf(path, kShortPathMax)); }
