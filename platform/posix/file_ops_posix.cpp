// Changes to files on Linux. A copy is written to a temporary file beside
// its target and renamed into place, so the target is either the old file
// or the complete new one, never something in between. A move within one
// file system is a rename.
#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/failure.h"
#include "platform/file_query.h"
#include "platform/posix/copy_content.h"
#include "platform/posix/posix_files.h"

namespace platform {

namespace {

using posix::Descriptor;

// False, with the system's reason noted.
bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

// Fills the temporary with the source's bytes, permissions and times.
// Permissions and times are kept where the file system can hold them; one
// that cannot (a FAT stick) still gets the content. A copy that belongs to
// someone else than the source (root copying another user's file, say) loses
// the set-user-ID and set-group-ID bits, as cp does: it must not run with its
// new owner's rights what the source's owner put in it.
bool FillTemporary(int source, const struct stat& info, int temporary,
                   const CopyProgress& progress) {
  if (!CopyContent(source, temporary, static_cast<uint64_t>(info.st_size), progress)) {
    if (errno == ECANCELED)
      NoteFailure(Failure::kStopped);
    else
      NoteSystemFailure();
    return false;
  }
  mode_t mode = info.st_mode & 07777;
  struct stat made {};
  if (fstat(temporary, &made) != 0 || made.st_uid != info.st_uid) {
    mode &= ~(S_ISUID | S_ISGID);
  } else if (made.st_gid != info.st_gid) {
    mode &= ~S_ISGID;
  }
  (void)fchmod(temporary, mode);
  const timespec times[2] = {info.st_atim, info.st_mtim};
  (void)futimens(temporary, times);
  return true;
}

// Notes why the source could not take the target's name: one that appeared
// meanwhile, or the system's reason.
bool NotPlaced() {
  if (errno == EEXIST)
    NoteFailure(Failure::kTargetAppeared);
  else
    NoteSystemFailure();
  return false;
}

// Whether target may be written: no folder and no write-protected file is
// ever replaced (Windows refuses both, and so do we; rename would not, since
// it needs only the folder to be writable). present tells whether anything
// is there now.
bool TargetMayBeWritten(const std::string& target, bool& present) {
  struct stat info;
  present = lstat(target.c_str(), &info) == 0;
  if (!present) return true;
  if (S_ISDIR(info.st_mode))
    NoteFailure(Failure::kTargetFolder);
  else if (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
    NoteFailure(Failure::kTargetProtected);
  } else {
    return true;
  }
  return false;
}

bool CopyInto(const std::string& source, const std::string& target, ExistingTarget existing,
              const CopyProgress& progress, bool durable) {
  ClearFailure();
  // A file copied onto itself would be emptied before it is read.
  if (IsSameFile(source, target)) {
    NoteFailure(Failure::kSameFile);
    return false;
  }
  // Non-blocking, so that a named pipe given as source cannot hang the open;
  // it is refused below like every other entry that is not a regular file.
  Descriptor input(open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (input.get() < 0) return SystemFailed();
  struct stat info;
  if (fstat(input.get(), &info) != 0) return SystemFailed();
  if (!S_ISREG(info.st_mode)) {
    NoteFailure(S_ISDIR(info.st_mode) ? Failure::kFolder : Failure::kNotAFile);
    return false;
  }
  bool present = false;
  if (!TargetMayBeWritten(target, present)) return false;

  posix::StagedFile temporary(target);
  if (!temporary.file().valid()) return SystemFailed();
  // A fresh copy replaces nothing and its source stays: a power cut costs at
  // worst the copy itself, so it goes without the wait for the disk. A file
  // that appears at the target during a replacing copy is replaced by a copy
  // that may not be on the disk yet; the user agreed to its replacement.
  durable = durable || (present && existing == ExistingTarget::kReplace);
  if (!FillTemporary(input.get(), info, temporary.file().get(), progress)) return false;
  return temporary.PutInPlace(existing == ExistingTarget::kReplace, durable) || NotPlaced();
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing,
                const CopyProgress& progress) {
  return CopyInto(source, target, existing, progress, false);
}

MoveOutcome MoveFileTo(const std::string& source, const std::string& target,
                       ExistingTarget existing, const CopyProgress& progress) {
  ClearFailure();
  struct stat info;
  if (lstat(source.c_str(), &info) != 0) {
    NoteSystemFailure();
    return MoveOutcome::kFailed;
  }
  // A plain file is renamed; a link goes the way of a copy of its target.
  if (S_ISREG(info.st_mode)) {
    if (IsSameFile(source, target)) {
      NoteFailure(Failure::kSameFile);
      return MoveOutcome::kFailed;
    }
    bool present = false;
    if (!TargetMayBeWritten(target, present)) return MoveOutcome::kFailed;
    if (posix::RenameInto(source, target, existing == ExistingTarget::kReplace)) {
      if (progress) progress(static_cast<uint64_t>(info.st_size));
      return MoveOutcome::kMoved;
    }
    if (errno != EXDEV) {
      NotPlaced();
      return MoveOutcome::kFailed;
    }
  }
  // Another file system: a durable copy, its name durable too, then the
  // source removed.
  if (!CopyInto(source, target, existing, progress, true)) return MoveOutcome::kFailed;
  return RemoveFile(source) ? MoveOutcome::kMoved : MoveOutcome::kSourceRemained;
}

bool RemoveFile(const std::string& path) {
  // lstat, not stat: a link to a folder is a link, removed like a file.
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return SystemFailed();
  if (S_ISDIR(info.st_mode)) {
    NoteFailure(Failure::kFolder);
    return false;
  }
  return unlink(path.c_str()) == 0 || SystemFailed();
}

uint64_t FileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<uint64_t>(info.st_size);
}

}  // namespace platform
