// Questions about files, answered by the Win32 W calls: names in UTF-8 here,
// UTF-16 (and the long form for long paths) for the system.
#include "platform/file_query.h"

#include <windows.h>

#include <vector>

#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform {

namespace {

// Longest module path accepted; the buffer grows up to this size.
constexpr DWORD kExecutablePathLimit = 1 << 16;

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(win32::SystemPath(path).c_str());
}

// A handle for reading a file's identity, opened without access to the
// content so that no other program's sharing mode stands in the way.
win32::OwnedHandle IdentityHandle(const std::string& path) {
  return win32::OwnedHandle(CreateFileW(
      win32::SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool ReadIdentity(const win32::OwnedHandle& handle, BY_HANDLE_FILE_INFORMATION& info) {
  return handle.valid() && GetFileInformationByHandle(handle.get(), &info) != 0;
}

}  // namespace

std::string ExecutablePath() {
  HMODULE self = GetModuleHandleW(nullptr);
  std::vector<wchar_t> buffer(MAX_PATH);
  while (buffer.size() <= kExecutablePathLimit) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(self, buffer.data(), size);
    if (length == 0) return {};
    // A result that fills the buffer has been cut: try again larger.
    if (length < size) return win32::ProgramPath({buffer.data(), length});
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

bool PathExists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool PatternMatches(const std::string& pattern) {
  WIN32_FIND_DATAW found;
  const win32::OwnedSearch search(FindFirstFileW(win32::SystemPath(pattern).c_str(), &found));
  if (!search.valid()) return false;
  // "*" always finds "." and ".." in a folder; they are not entries of it,
  // so an empty folder has no match (as on Linux).
  bool matched = !IsDotEntry(found.cFileName);
  while (!matched && FindNextFileW(search.get(), &found)) matched = !IsDotEntry(found.cFileName);
  return matched;
}

std::string ShortPathOf(const std::string& path, int max_length) {
  if (max_length <= 0) return {};
  const std::wstring wide = win32::SystemPath(path);
  std::vector<wchar_t> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetShortPathNameW(wide.c_str(), buffer.data(), size);
    if (length == 0) return {};  // no such path
    if (length < size) {
      // The limit counts the program's characters (UTF-8 bytes).
      std::string short_path = win32::ProgramPath({buffer.data(), length});
      if (short_path.size() > static_cast<size_t>(max_length)) return {};
      return short_path;
    }
    buffer.resize(length);  // the size asked for, terminator included
  }
  return {};
}

bool IsSameFile(const std::string& a, const std::string& b) {
  // Both are held open while they are compared.
  const win32::OwnedHandle handle_a = IdentityHandle(a);
  const win32::OwnedHandle handle_b = IdentityHandle(b);
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  if (!ReadIdentity(handle_a, first) || !ReadIdentity(handle_b, second)) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace platform
