// The steps of copies and moves on Windows. A copy is made by the system's
// copy engine to a temporary file beside its target and moved into place, so the target is either
// the old file or the complete new one, never something in between. A move
// within one volume is a rename.
#include "platform/file_ops.h"

#include <windows.h>

#include <cstdio>

#include "platform/failure.h"
#include "platform/shared/copy_pacer.h"
#include "platform/shared/file_steps.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform {

namespace {

using win32::OwnedHandle;
using win32::SystemPath;

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

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(SystemPath(path).c_str()); }

bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

bool NameTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

DWORD CALLBACK OnCopyProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER,
                              LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
  const auto& progress = *static_cast<const CopyProgress*>(data);
  const auto done = static_cast<uint64_t>(transferred.QuadPart);
  PaceCopy(done);
  return !progress || progress(done) ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

// Writes what the system still holds of the file to the disk. A read-only
// copy is opened for it with the attribute cleared for a moment.
bool FlushToDisk(const std::string& path) {
  const std::wstring name = SystemPath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  const OwnedHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const bool flushed = file.valid() && FlushFileBuffers(file.get());
  if (!flushed) NoteSystemFailure();
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(name.c_str(), attributes);
  return flushed;
}

// Copies source to a new temporary beside target and returns its name;
// empty when no copy could be made (nothing is left behind then). The copy
// engine keeps the attributes and the modification time.
std::string CopyToTemporary(const std::string& source, const std::string& target,
                            const CopyProgress& progress) {
  const std::string prefix = FolderPrefixOf(target);
  // Copies may run on more than one thread.
  static volatile LONG counter = 0;
  for (int i = 0; i < kTemporaryAttempts; ++i) {
    const std::string temporary =
        TemporaryName(prefix, static_cast<int>(InterlockedIncrement(&counter)));
    BOOL cancel = FALSE;
    PaceCopy(0);
    if (CopyFileExW(SystemPath(source).c_str(), SystemPath(temporary).c_str(), OnCopyProgress,
                    const_cast<CopyProgress*>(&progress), &cancel, COPY_FILE_FAIL_IF_EXISTS)) {
      return temporary;
    }
    const DWORD error = GetLastError();
    // The name was taken by someone else's file: leave it alone, try another.
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    if (error == ERROR_REQUEST_ABORTED)
      NoteFailure(Failure::kStopped);
    else
      NoteFailure(Failure::kSystem, error);
    // A copy that failed halfway may have left a partial file of ours.
    DeleteFileW(SystemPath(temporary).c_str());
    return {};
  }
  NoteFailure(Failure::kSystem, ERROR_FILE_EXISTS);
  return {};
}

}  // namespace

namespace file_steps {

Entry EntryAt(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return Entry::kNothing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Entry::kFolder;
  if (attributes & FILE_ATTRIBUTE_READONLY) return Entry::kWriteProtected;
  return Entry::kOther;
}

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// No MOVEFILE_COPY_ALLOWED: another volume is told apart, for a durable copy.
Renamed RenameFile(const std::string& source, const std::string& target, bool replace) {
  if (MoveFileExW(SystemPath(source).c_str(), SystemPath(target).c_str(),
                  replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
    return Renamed::kDone;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SAME_DEVICE) return Renamed::kOtherVolume;
  NoteNotPlaced(NameTaken(error), error);
  return Renamed::kFailed;
}

bool CopyChecked(const std::string& source, const std::string& target, ExistingTarget existing,
                 const CopyProgress& progress, bool durable) {
  const DWORD attributes = AttributesOf(source);
  if (attributes == INVALID_FILE_ATTRIBUTES) return SystemFailed();
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    NoteFailure(Failure::kFolder);
    return false;
  }
  if (!TargetAllows(target, existing, durable)) return false;
  const std::string temporary = CopyToTemporary(source, target, progress);
  if (temporary.empty()) return false;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when anything is at the
  // target, even a file that appeared while the copy was being made.
  const DWORD replace = existing == ExistingTarget::kReplace ? MOVEFILE_REPLACE_EXISTING : 0;
  if ((durable && !FlushToDisk(temporary)) ||
      !MoveFileExW(SystemPath(temporary).c_str(), SystemPath(target).c_str(),
                   replace | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (LastFailure().empty()) NoteNotPlaced(NameTaken(error), error);
    // The temporary may have been made read-only by copying a read-only
    // source; clear that so it can go.
    SetFileAttributesW(SystemPath(temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(SystemPath(temporary).c_str());
    return false;
  }
  return true;
}

}  // namespace file_steps

bool RemoveFile(const std::string& path) {
  return DeleteFileW(SystemPath(path).c_str()) != 0 || SystemFailed();
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 0;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace platform
