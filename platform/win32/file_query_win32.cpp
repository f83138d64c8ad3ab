// Questions about files, answered by the Win32 API (ANSI calls).
#include "platform/file_query.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

// Longest module path accepted; the buffer grows up to this size.
constexpr DWORD kExecutablePathLimit = 1 << 16;

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// An open handle for reading a file's identity; closed when it goes away.
class IdentityHandle {
 public:
  explicit IdentityHandle(const std::string& path)
      : handle_(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
  ~IdentityHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  IdentityHandle(const IdentityHandle&) = delete;
  IdentityHandle& operator=(const IdentityHandle&) = delete;

  bool Read(BY_HANDLE_FILE_INFORMATION& info) const {
    return handle_ != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle_, &info) != 0;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::string ExecutablePath() {
  HMODULE self = GetModuleHandleA(nullptr);
  std::vector<char> buffer(2048);
  while (buffer.size() <= kExecutablePathLimit) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameA(self, buffer.data(), size);
    if (length == 0) return {};
    // A result that fills the buffer has been cut: try again larger.
    if (length < size) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PatternMatches(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  // "*" always finds "." and ".." in a folder; they are not entries of it,
  // so an empty folder has no match (as on Linux).
  bool matched = !IsDotEntry(found.cFileName);
  while (!matched && FindNextFileA(search, &found)) matched = !IsDotEntry(found.cFileName);
  FindClose(search);
  return matched;
}

std::string ShortPathOf(const std::string& path, int max_length) {
  if (max_length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(max_length) + 1, '\0');
  const DWORD length =
      GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  // 0 means no such path; more than max_length is the size a longer buffer
  // would need, so the short form does not fit.
  if (length < 1 || length > static_cast<DWORD>(max_length)) return {};
  return std::string(buffer.data(), length);
}

bool IsSameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  const IdentityHandle handle_a(a);
  const IdentityHandle handle_b(b);
  if (!handle_a.Read(first) || !handle_b.Read(second)) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace platform
