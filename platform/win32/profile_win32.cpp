// The INI primitives on Windows: the system's own profile functions.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace platform {

namespace {

// The first buffer a read offers; it grows while the value fills it.
constexpr DWORD kFirstReadSize = 2048;

ProfileFileState LookAt(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? ProfileFileState::kMissing
               : ProfileFileState::kUnreadable;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ProfileFileState::kNotAFile;
  const int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (size > kProfileSizeLimit) return ProfileFileState::kTooLarge;
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ProfileFileState::kUnreadable;
  CloseHandle(handle);
  return ProfileFileState::kUsable;
}

}  // namespace

// The profile functions read the file themselves; the snapshot only looks.
ProfileSnapshot::ProfileSnapshot(const std::string& file) : state_(LookAt(file)) {}
ProfileSnapshot::~ProfileSnapshot() = default;

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  // The value is cut to fit the buffer, and then fills all but its last
  // byte: a full buffer means there may be more, so it is read again larger.
  const DWORD limit = static_cast<DWORD>(std::max(max_chars, 0)) + 1;
  DWORD size = std::min(kFirstReadSize, limit);
  for (;;) {
    std::vector<char> buffer(size, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(),
                                                  buffer.data(), size, file.c_str());
    if (length + 1 < size || size == limit) return std::string(buffer.data(), length);
    size = size > limit / 2 ? limit : size * 2;
  }
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  // A folder, an unreadable or an oversized file is left alone, and so is a
  // read-only one (the system refuses it too, but not to every user of Wine).
  const ProfileFileState state = LookAt(file);
  if (state != ProfileFileState::kUsable && state != ProfileFileState::kMissing) return false;
  const DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return false;
  }
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str())) {
    return false;
  }
  // Read back with room for one character more than value, so a longer stored
  // text shows, and a default that differs from value, so a missing key shows.
  const std::string missing = value.empty() ? "?" : "";
  return ProfileReadText(file, section, key, missing, static_cast<int>(value.size()) + 1) == value;
}

}  // namespace platform
