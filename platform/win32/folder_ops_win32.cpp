// The steps of tree copies and moves on Windows: folders made and given their
// look, links (reparse points) copied as they are, entries renamed and
// removed. Each copy of a move is flushed to the disk on its own.
#include <windows.h>
#include <winioctl.h>

#include <vector>

#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "platform/shared/file_steps.h"
#include "platform/shared/named_temporaries.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform {

namespace {

using win32::OwnedHandle;
using win32::SystemPath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The attributes a copy keeps; the others belong to the volume or the file system.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers leave out.
constexpr unsigned long kQuotaExceeded = 1295;

bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(SystemPath(path).c_str()); }

void ClearReadOnly(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(SystemPath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
}

OwnedHandle OpenLink(const std::string& path, DWORD access) {
  return OwnedHandle(
      CreateFileW(SystemPath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Makes an empty file or folder at path and gives it the reparse data.
bool MakeLinkAt(const std::string& path, bool folder, std::vector<char>& data, DWORD size) {
  if (folder) {
    if (!CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return false;
  } else {
    const OwnedHandle made(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made.valid()) return false;
  }
  DWORD unused = 0;
  const OwnedHandle link = OpenLink(path, GENERIC_WRITE);
  if (link.valid() && DeviceIoControl(link.get(), FSCTL_SET_REPARSE_POINT, data.data(), size,
                                      nullptr, 0, &unused, nullptr)) {
    return true;
  }
  const DWORD error = GetLastError();
  if (folder)
    RemoveDirectoryW(SystemPath(path).c_str());
  else
    DeleteFileW(SystemPath(path).c_str());
  SetLastError(error);
  return false;
}

}  // namespace

namespace file_steps {
// No volume is flushed as a whole without administrator rights: each copy is.
const bool kDurableFileByFile = true;
}  // namespace file_steps

bool MakeNewFolder(const std::string& path) {
  ClearFailure();
  if (CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return true;
  if (GetLastError() == ERROR_ALREADY_EXISTS)
    NoteFailure(Failure::kTargetAppeared);
  else
    NoteSystemFailure();
  return false;
}

bool CopyFolderLook(const std::string& source, const std::string& target) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(source).c_str(), GetFileExInfoStandard, &data)) {
    return SystemFailed();
  }
  {
    const OwnedHandle folder(CreateFileW(SystemPath(target).c_str(), FILE_WRITE_ATTRIBUTES,
                                         kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid() || !SetFileTime(folder.get(), nullptr, nullptr, &data.ftLastWriteTime)) {
      return SystemFailed();
    }
  }
  const DWORD kept = data.dwFileAttributes & kKeptAttributes;
  return SetFileAttributesW(SystemPath(target).c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) ||
         SystemFailed();
}

bool CopyLink(const std::string& source, const std::string& target, ExistingTarget existing) {
  ClearFailure();
  const DWORD attributes = AttributesOf(source);
  std::vector<char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD size = 0;
  {
    const OwnedHandle link = OpenLink(source, FILE_READ_ATTRIBUTES);
    if (attributes == INVALID_FILE_ATTRIBUTES || !link.valid() ||
        !DeviceIoControl(link.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                         static_cast<DWORD>(data.size()), &size, nullptr)) {
      return SystemFailed();
    }
  }
  bool durable = false;
  if (!file_steps::TargetAllows(target, existing, durable)) return false;
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (existing == ExistingTarget::kKeep || folder) {
    // A link to a folder is a folder: nothing takes its place in one step.
    if (MakeLinkAt(target, folder, data, size)) return true;
    file_steps::NoteNotPlaced(
        GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS,
        GetLastError());
    return false;
  }
  DWORD error = 0;
  const std::string temporary = temporaries::Make(
      target.substr(0, target.find_last_of("\\/") + 1), [&](const std::string& path) {
        if (MakeLinkAt(path, false, data, size)) return temporaries::Made::kMade;
        error = GetLastError();
        return error == ERROR_FILE_EXISTS ? temporaries::Made::kTaken : temporaries::Made::kFailed;
      });
  if (temporary.empty()) {
    NoteFailure(error != 0 ? Failure::kSystem : Failure::kStopped, error);
    return false;
  }
  if (!MoveFileExW(SystemPath(temporary).c_str(), SystemPath(target).c_str(),
                   MOVEFILE_REPLACE_EXISTING)) {
    NoteSystemFailure();
    temporaries::Discard(temporary);
    return false;
  }
  temporaries::Forget(temporary);
  return true;
}

bool SyncCopies(const std::string&) { return true; }

// No MOVEFILE_COPY_ALLOWED: another volume is told apart, and nothing is replaced.
RenameResult RenameFolder(const std::string& source, const std::string& target) {
  ClearFailure();
  if (MoveFileExW(SystemPath(source).c_str(), SystemPath(target).c_str(), 0)) {
    return RenameResult::kDone;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SAME_DEVICE) return RenameResult::kOtherVolume;
  file_steps::NoteNotPlaced(error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS, error);
  return RenameResult::kFailed;
}

bool RemoveEntry(const std::string& path, bool even_protected) {
  if (even_protected) ClearReadOnly(path);
  const DWORD attributes = AttributesOf(path);
  // A link to a folder (a junction) is removed as a folder, without what it points to.
  const bool folder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    NoteFailure(Failure::kFolder);
    return false;
  }
  const std::wstring name = SystemPath(path);
  return (folder ? RemoveDirectoryW(name.c_str()) : DeleteFileW(name.c_str())) || SystemFailed();
}

// A read-only folder cannot be removed until its attribute goes.
bool RemoveEmptyFolder(const std::string& path) {
  if (RemoveDirectoryW(SystemPath(path).c_str())) return true;
  if (GetLastError() == ERROR_ACCESS_DENIED && (AttributesOf(path) & FILE_ATTRIBUTE_READONLY)) {
    ClearReadOnly(path);
    if (RemoveDirectoryW(SystemPath(path).c_str())) return true;
  }
  return SystemFailed();
}

void AllowRemoval(const std::string& folder) { ClearReadOnly(folder); }

bool LastFailureEndsCopies() {
  const unsigned long error = LastSystemError();
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ||
         error == ERROR_WRITE_PROTECT || error == kQuotaExceeded;
}

}  // namespace platform
