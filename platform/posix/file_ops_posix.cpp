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
#include "platform/posix/rename_exclusive.h"

namespace platform {

namespace {

// Closes a descriptor when it goes out of scope, unless taken over.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close went well (a failing close
  // can mean lost data on some file systems).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

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
// new owner's rights what the source's owner put in it. When durable, the
// content is on the disk before this returns: a copy that takes a file's
// place, or that a source is deleted after, must survive a power cut.
bool FillTemporary(int source, const struct stat& info, Descriptor& temporary, bool durable,
                   const CopyProgress& progress) {
  if (!CopyContent(source, temporary.get(), static_cast<uint64_t>(info.st_size), progress)) {
    if (errno == ECANCELED) NoteFailure(Failure::kStopped);
    else NoteSystemFailure();
    return false;
  }
  mode_t mode = info.st_mode & 07777;
  struct stat made {};
  if (fstat(temporary.get(), &made) != 0 || made.st_uid != info.st_uid) {
    mode &= ~(S_ISUID | S_ISGID);
  } else if (made.st_gid != info.st_gid) {
    mode &= ~S_ISGID;
  }
  (void)fchmod(temporary.get(), mode);
  const timespec times[2] = {info.st_atim, info.st_mtim};
  (void)futimens(temporary.get(), times);
  if (durable && fsync(temporary.get()) != 0) return SystemFailed();
  return temporary.Close() || SystemFailed();
}

// Puts the finished temporary at target. Kept targets are never replaced, not
// even one that appeared a moment ago: the rename refuses an existing target
// in the same step; where the file system takes no rename flags, a hard link
// refuses it just as well, and the temporary's name then goes.
bool PutInPlace(const std::string& temporary, const std::string& target,
                ExistingTarget existing) {
  if (existing == ExistingTarget::kReplace) {
    return rename(temporary.c_str(), target.c_str()) == 0 || SystemFailed();
  }
  switch (RenameExclusive(temporary, target)) {
    case RenameOutcome::kDone:
      return true;
    case RenameOutcome::kTargetExists:
      NoteFailure(Failure::kTargetAppeared);
      return false;
    case RenameOutcome::kUnsupported:
      if (link(temporary.c_str(), target.c_str()) != 0) {
        if (errno == EEXIST) NoteFailure(Failure::kTargetAppeared);
        else NoteSystemFailure();
        return false;
      }
      unlink(temporary.c_str());
      return true;
    default:
      return SystemFailed();
  }
}

// Whether target may be written: no folder and no write-protected file is
// ever replaced (Windows refuses both, and so do we; rename would not, since
// it needs only the folder to be writable). present tells whether anything
// is there now.
bool TargetMayBeWritten(const std::string& target, bool& present) {
  struct stat info;
  present = lstat(target.c_str(), &info) == 0;
  if (!present) return true;
  if (S_ISDIR(info.st_mode)) NoteFailure(Failure::kTargetFolder);
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

  // A short hidden name in the target's folder: the rename stays within one
  // file system, and a long target name cannot make the name too long.
  std::string temporary_name = FolderOf(target) + "/.quorlith-XXXXXX";
  Descriptor temporary(mkstemp(temporary_name.data()));
  if (temporary.get() < 0) return SystemFailed();
  // A fresh copy replaces nothing and its source stays: a power cut costs at
  // worst the copy itself, so it goes without the wait for the disk. A file
  // that appears at the target during a replacing copy is replaced by a copy
  // that may not be on the disk yet; the user agreed to its replacement.
  durable = durable || (present && existing == ExistingTarget::kReplace);
  if (!FillTemporary(input.get(), info, temporary, durable, progress) ||
      !PutInPlace(temporary_name, target, existing)) {
    unlink(temporary_name.c_str());
    return false;
  }
  return true;
}

// Makes the folder's entries durable: the new name of a moved file is on the
// disk before its old one is removed.
void SyncFolder(const std::string& folder) {
  Descriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)fsync(dir.get());
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
    RenameOutcome renamed;
    if (existing == ExistingTarget::kReplace) {
      renamed = rename(source.c_str(), target.c_str()) == 0 ? RenameOutcome::kDone
                                                             : RenameOutcome::kFailed;
    } else {
      renamed = RenameExclusive(source, target);
      // Without rename flags a hard link refuses an existing target too.
      if (renamed == RenameOutcome::kUnsupported) {
        renamed = link(source.c_str(), target.c_str()) == 0 ? RenameOutcome::kDone
                  : errno == EEXIST                         ? RenameOutcome::kTargetExists
                                                            : RenameOutcome::kFailed;
        if (renamed == RenameOutcome::kDone) unlink(source.c_str());
      }
    }
    if (renamed == RenameOutcome::kDone) {
      if (progress) progress(static_cast<uint64_t>(info.st_size));
      return MoveOutcome::kMoved;
    }
    if (renamed == RenameOutcome::kTargetExists) {
      NoteFailure(Failure::kTargetAppeared);
      return MoveOutcome::kFailed;
    }
    if (errno != EXDEV) {
      NoteSystemFailure();
      return MoveOutcome::kFailed;
    }
  }
  // Another file system: a durable copy, its name durable too, then the
  // source removed.
  if (!CopyInto(source, target, existing, progress, true)) return MoveOutcome::kFailed;
  SyncFolder(FolderOf(target));
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
