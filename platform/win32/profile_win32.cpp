// The INI primitives on Windows: the system's own profile functions.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace platform {

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  const DWORD size = static_cast<DWORD>(std::max(max_chars, 0)) + 1;
  std::vector<char> buffer(size, '\0');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size,
                           file.c_str());
  return std::string(buffer.data());
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str())) {
    return false;
  }
  // Read back with room for one character more than value, so a longer stored
  // text shows, and a default that differs from value, so a missing key shows.
  const std::string missing = value.empty() ? "?" : "";
  return ProfileReadText(file, section, key, missing, static_cast<int>(value.size()) + 1) == value;
}

}  // namespace platform
