// Changes to files on Windows. A copy is made to a temporary file beside its
// target and moved into place, so the target is either the old file or the
// complete new one, never something in between.
#include "platform/file_ops.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/file_query.h"

namespace platform {

namespace {

// How many temporary names are tried before giving up; each is taken only
// when no file of that name exists.
constexpr int kTemporaryAttempts = 100;

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
// empty when no copy could be made (nothing is left behind then). CopyFileA
// keeps the attributes and the modification time.
std::string CopyToTemporary(const std::string& source, const std::string& target) {
  const std::string prefix = FolderPrefixOf(target);
  static int counter = 0;
  for (int i = 0; i < kTemporaryAttempts; ++i) {
    const std::string temporary = TemporaryName(prefix, counter++);
    if (CopyFileA(source.c_str(), temporary.c_str(), TRUE)) return temporary;
    const DWORD error = GetLastError();
    // The name was taken by someone else's file: leave it alone, try another.
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    // A copy that failed halfway may have left a partial file of ours.
    DeleteFileA(temporary.c_str());
    return {};
  }
  return {};
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing) {
  if (!PathExists(source) || IsFolder(source)) return false;
  // A file copied onto itself would be emptied before it is read.
  if (IsSameFile(source, target)) return false;
  // A folder is never replaced; neither is a read-only file: the move would
  // fail for it anyway, so the copy is not even begun.
  const DWORD present = GetFileAttributesA(target.c_str());
  if (present != INVALID_FILE_ATTRIBUTES &&
      (present & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return false;
  }

  const std::string temporary = CopyToTemporary(source, target);
  if (temporary.empty()) return false;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when anything is at the
  // target, even a file that appeared while the copy was being made.
  const DWORD replace = existing == ExistingTarget::kReplace ? MOVEFILE_REPLACE_EXISTING : 0;
  if (!MoveFileExA(temporary.c_str(), target.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
    // The temporary may have been made read-only by copying a read-only
    // source; clear that so it can go.
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool MoveToTrash(const std::string& path) {
  // The shell takes a list of paths, each ended by a zero, the list ended by
  // one more; the buffer is sized to the path, so no path can overflow it.
  std::vector<char> from(path.size() + 2, '\0');
  path.copy(from.data(), path.size());

  SHFILEOPSTRUCTA operation;
  ZeroMemory(&operation, sizeof operation);
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.data();
  operation.pTo = nullptr;
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
  return SHFileOperationA(&operation) == 0;
}

}  // namespace platform
