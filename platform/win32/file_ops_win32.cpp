// The steps of copies and moves on Windows. A copy is made by the system's
// copy engine into a named temporary beside its target
// (shared/named_temporaries.h) and moved into place, so the target is either
// the old file or the complete new one, never something in between. A move
// within one volume is a rename.
#include "platform/file_ops.h"

#include <windows.h>

#include "platform/failure.h"
#include "platform/shared/copy_pacer.h"
#include "platform/shared/file_steps.h"
#include "platform/shared/named_temporaries.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform {

namespace {

using win32::OwnedHandle;
using win32::SystemPath;

std::string FolderPrefixOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(SystemPath(path).c_str()); }

bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

bool NameTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// The copy engine's report after each chunk. A process that is ending stops
// its copy too, so that the temporary can go.
DWORD CALLBACK OnCopyProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER,
                              LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
  const auto& progress = *static_cast<const CopyProgress*>(data);
  const auto done = static_cast<uint64_t>(transferred.QuadPart);
  PaceCopy(done);
  const bool go_on = !temporaries::Ending() && (!progress || progress(done));
  return go_on ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
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

// Claims a named temporary beside target, an empty file made only where no
// file of its name is, and lets the copy engine fill it; answers its name,
// or empty when no copy could be made (nothing is left behind then). The
// copy engine keeps the attributes and the modification time. progress is
// asked before the engine starts: it tells no progress under Wine.
std::string CopyToTemporary(const std::string& source, const std::string& target,
                            const CopyProgress& progress) {
  DWORD error = 0;
  const std::string temporary =
      temporaries::Make(FolderPrefixOf(target), [&](const std::string& path) {
        const OwnedHandle claim(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (claim.valid()) return temporaries::Made::kMade;
        error = GetLastError();
        return NameTaken(error) ? temporaries::Made::kTaken : temporaries::Made::kFailed;
      });
  if (temporary.empty()) {
    NoteFailure(error != 0 ? Failure::kSystem : Failure::kStopped, error);
    return {};
  }
  PaceCopy(0);
  const bool go = (!progress || progress(0)) && !temporaries::Ending();
  BOOL cancel = FALSE;
  if (go && CopyFileExW(SystemPath(source).c_str(), SystemPath(temporary).c_str(), OnCopyProgress,
                        const_cast<CopyProgress*>(&progress), &cancel, 0)) {
    return temporary;
  }
  error = go ? GetLastError() : ERROR_REQUEST_ABORTED;
  if (error == ERROR_REQUEST_ABORTED)
    NoteFailure(Failure::kStopped);
  else
    NoteFailure(Failure::kSystem, error);
  temporaries::Discard(temporary);
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
    temporaries::Discard(temporary);
    return false;
  }
  temporaries::Forget(temporary);
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
