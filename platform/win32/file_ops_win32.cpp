// Changes to files on Windows. A copy is made to a temporary file beside its
// target and moved into place, so the target is either the old file or the
// complete new one, never something in between.
#include "platform/file_ops.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/file_query.h"
#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// How many temporary names are tried before giving up; each is taken only
// when no file of that name exists.
constexpr int kTemporaryAttempts = 100;
// Longest short form worth asking for: more would not pass to the shell.
constexpr int kShellPathLimit = 4 * MAX_PATH;

std::string FolderPrefixOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string TemporaryName(const std::string& folder_prefix, int attempt) {
  char name[64];
  std::snprintf(name, sizeof name, ".quorlith-%lx-%d.tmp",
                static_cast<unsigned long>(GetCurrentProcessId()), attempt);
  return folder_prefix + name;
}

// Copies source to a new temporary beside target and returns its name;
// empty when no copy could be made (nothing is left behind then). CopyFileW
// keeps the attributes and the modification time.
std::string CopyToTemporary(const std::string& source, const std::string& target) {
  const std::string prefix = FolderPrefixOf(target);
  static int counter = 0;
  for (int i = 0; i < kTemporaryAttempts; ++i) {
    const std::string temporary = TemporaryName(prefix, counter++);
    if (CopyFileW(win32::SystemPath(source).c_str(), win32::SystemPath(temporary).c_str(), TRUE)) {
      return temporary;
    }
    const DWORD error = GetLastError();
    // The name was taken by someone else's file: leave it alone, try another.
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    // A copy that failed halfway may have left a partial file of ours.
    DeleteFileW(win32::SystemPath(temporary).c_str());
    return {};
  }
  return {};
}

// The shell's file operation takes no path of MAX_PATH characters or more
// (a longer one may even overrun its buffers), nor the "\\?\" form. A long
// path is handed over through the short (8.3) form of its folder, which
// keeps the item's own name for the Recycle Bin, or else through the short
// form of the whole path; empty when neither fits.
std::wstring ShellPath(const std::string& path) {
  std::wstring wide = win32::Widen(path);
  if (wide.size() < MAX_PATH) return wide;
  const size_t cut = path.find_last_of("\\/");
  if (cut != std::string::npos && cut + 1 < path.size()) {
    const std::string folder = ShortPathOf(path.substr(0, cut), kShellPathLimit);
    if (!folder.empty()) wide = win32::Widen(folder + "\\" + path.substr(cut + 1));
    if (wide.size() < MAX_PATH) return wide;
  }
  wide = win32::Widen(ShortPathOf(path, kShellPathLimit));
  return wide.size() < MAX_PATH ? wide : std::wstring();
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing) {
  if (!PathExists(source) || IsFolder(source)) return false;
  // A file copied onto itself would be emptied before it is read.
  if (IsSameFile(source, target)) return false;
  // A folder is never replaced; neither is a read-only file: the move would
  // fail for it anyway, so the copy is not even begun.
  const DWORD present = GetFileAttributesW(win32::SystemPath(target).c_str());
  if (present != INVALID_FILE_ATTRIBUTES &&
      (present & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return false;
  }

  const std::string temporary = CopyToTemporary(source, target);
  if (temporary.empty()) return false;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when anything is at the
  // target, even a file that appeared while the copy was being made.
  const DWORD replace = existing == ExistingTarget::kReplace ? MOVEFILE_REPLACE_EXISTING : 0;
  if (!MoveFileExW(win32::SystemPath(temporary).c_str(), win32::SystemPath(target).c_str(),
                   replace | MOVEFILE_WRITE_THROUGH)) {
    // The temporary may have been made read-only by copying a read-only
    // source; clear that so it can go.
    SetFileAttributesW(win32::SystemPath(temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(win32::SystemPath(temporary).c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const std::string& path) {
  return DeleteFileW(win32::SystemPath(path).c_str()) != 0;
}

bool MoveToTrash(const std::string& path) {
  const std::wstring shell_path = ShellPath(path);
  if (shell_path.empty()) return false;
  // The shell takes a list of paths, each ended by a zero, the list ended by
  // one more; the buffer is sized to the path, so no path can overflow it.
  std::vector<wchar_t> from(shell_path.size() + 2, L'\0');
  shell_path.copy(from.data(), shell_path.size());

  SHFILEOPSTRUCTW operation;
  ZeroMemory(&operation, sizeof operation);
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.data();
  operation.pTo = nullptr;
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
  return SHFileOperationW(&operation) == 0;
}

}  // namespace platform
