// Named temporaries on Windows: what identifies a process and its host, and
// the removal of the temporaries that ended processes left behind.
#include <windows.h>

#include "platform/file_ops.h"
#include "platform/shared/named_temporaries.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace temporaries {

std::string SystemHostName() {
  wchar_t name[256] = L"";
  DWORD size = sizeof name / sizeof name[0];
  if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
  return win32::Narrow({name, size});
}

uint64_t ThisProcess() { return GetCurrentProcessId(); }

// A process that cannot be opened for want of rights runs; only an id that
// names no process at all (ERROR_INVALID_PARAMETER), or a process that has
// ended but is still held open by someone, counts as not running. An id no
// process can have counts as running, so that nothing is removed on a doubt.
bool ProcessRuns(uint64_t pid) {
  if (pid > 0xFFFFFFFFu) return true;
  const win32::OwnedHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
  if (!process.valid()) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  return !GetExitCodeProcess(process.get(), &code) || code == STILL_ACTIVE;
}

// A copy of a read-only source is read-only: the attribute goes first.
Removal RemoveNamed(const std::string& path) {
  const std::wstring name = win32::SystemPath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (DeleteFileW(name.c_str())) return Removal::kGone;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Removal::kGone;
  return error == ERROR_SHARING_VIOLATION ? Removal::kBusy : Removal::kFailed;
}

}  // namespace temporaries

// A link (a reparse point) or a folder of a temporary's name is never one.
int RemoveStaleTemporaries(const std::string& folder) {
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
  WIN32_FIND_DATAW found;
  const win32::OwnedSearch search(
      FindFirstFileW((win32::SystemPath(prefix) + L"*").c_str(), &found));
  int removed = 0;
  for (bool more = search.valid(); more; more = FindNextFileW(search.get(), &found) != 0) {
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
      continue;
    }
    const std::string name = win32::Narrow(found.cFileName);
    if (temporaries::IsStale(name) &&
        temporaries::RemoveNamed(prefix + name) == temporaries::Removal::kGone) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace platform
