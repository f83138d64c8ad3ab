// The steps of tree copies and moves on Linux: folders made and given their
// look, links copied as links, entries renamed and removed, and one sync of
// the destination's file system before a move removes its sources.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/rename_exclusive.h"
#include "platform/shared/file_steps.h"
#include "platform/shared/named_temporaries.h"

namespace platform {

namespace {

bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

// A file system that holds no permissions or times (FAT) refuses to set
// them: the copy is still good.
bool CannotHold(int error) { return error == EPERM || error == EOPNOTSUPP; }

// The text of the link at path.
bool ReadLink(const std::string& path, std::string& text) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length =
        posix::Retried([&] { return readlink(path.c_str(), buffer.data(), buffer.size()); });
    if (length < 0) return SystemFailed();
    if (static_cast<size_t>(length) < buffer.size()) {
      text.assign(buffer.data(), static_cast<size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 4);  // it may have been cut
  }
}

}  // namespace

namespace file_steps {
// Each copy of a move is made durable by one sync of the whole tree.
const bool kDurableFileByFile = false;
}  // namespace file_steps

bool MakeNewFolder(const std::string& path) {
  ClearFailure();
  if (posix::Retried([&] { return mkdir(path.c_str(), 0700); }) == 0) return true;
  if (errno == EEXIST)
    NoteFailure(Failure::kTargetAppeared);
  else
    NoteSystemFailure();
  return false;
}

bool CopyFolderLook(const std::string& source, const std::string& target) {
  struct stat info {};
  struct stat made {};
  if (posix::Retried([&] { return stat(source.c_str(), &info); }) != 0 ||
      posix::Retried([&] { return stat(target.c_str(), &made); }) != 0) {
    return SystemFailed();
  }
  mode_t mode = info.st_mode & 07777;
  if (made.st_uid != info.st_uid) {
    mode &= ~(S_ISUID | S_ISGID);
  } else if (made.st_gid != info.st_gid) {
    mode &= ~S_ISGID;
  }
  if (posix::Retried([&] { return chmod(target.c_str(), mode); }) != 0 && !CannotHold(errno)) {
    return SystemFailed();
  }
  const timespec times[2] = {info.st_atim, info.st_mtim};
  if (posix::Retried([&] { return utimensat(AT_FDCWD, target.c_str(), times, 0); }) != 0 &&
      !CannotHold(errno)) {
    return SystemFailed();
  }
  return true;
}

bool CopyLink(const std::string& source, const std::string& target, ExistingTarget existing) {
  ClearFailure();
  std::string text;
  struct stat info {};
  if (posix::Retried([&] { return lstat(source.c_str(), &info); }) != 0) return SystemFailed();
  if (!ReadLink(source, text)) return false;
  bool durable = false;
  if (!file_steps::TargetAllows(target, existing, durable)) return false;
  const auto make = [&](const std::string& path) {
    return posix::Retried([&] { return symlink(text.c_str(), path.c_str()); }) == 0;
  };
  if (existing == ExistingTarget::kKeep) {
    if (!make(target)) {
      file_steps::NoteNotPlaced(errno == EEXIST, static_cast<unsigned long>(errno));
      return false;
    }
  } else {
    // Made beside the target under a temporary name, then put over it in one step.
    int error = 0;
    const std::string temporary =
        temporaries::Make(posix::FolderOf(target) + "/", [&](const std::string& path) {
          if (make(path)) return temporaries::Made::kMade;
          error = errno;
          return error == EEXIST ? temporaries::Made::kTaken : temporaries::Made::kFailed;
        });
    if (temporary.empty()) {
      NoteFailure(error != 0 ? Failure::kSystem : Failure::kStopped,
                  static_cast<unsigned long>(error));
      return false;
    }
    if (!posix::RenameInto(temporary, target, true)) {
      NoteSystemFailure();
      temporaries::Discard(temporary);
      return false;
    }
    temporaries::Forget(temporary);
  }
  const timespec times[2] = {info.st_atim, info.st_mtim};
  (void)utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
  return true;
}

bool SyncCopies(const std::string& folder) {
  const posix::Descriptor dir(posix::Retried(
      [&] { return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK); }));
  if (!dir.valid()) return SystemFailed();
  return posix::Retried([&] { return syncfs(dir.get()); }) == 0 || SystemFailed();
}

RenameResult RenameFolder(const std::string& source, const std::string& target) {
  ClearFailure();
  switch (RenameExclusive(source, target)) {
    case RenameOutcome::kDone:
      return RenameResult::kDone;
    case RenameOutcome::kTargetExists:
      NoteFailure(Failure::kTargetAppeared);
      return RenameResult::kFailed;
    case RenameOutcome::kUnsupported:
      // A folder cannot be linked: where the file system takes no rename
      // flags, the target is looked at first. A plain rename would replace an
      // empty folder there, never one with entries.
      if (KindOf(target) != EntryKind::kNone) {
        NoteFailure(Failure::kTargetAppeared);
        return RenameResult::kFailed;
      }
      if (posix::Retried([&] { return rename(source.c_str(), target.c_str()); }) == 0) {
        return RenameResult::kDone;
      }
      break;
    case RenameOutcome::kFailed:
      break;
  }
  if (errno == EXDEV) return RenameResult::kOtherVolume;
  NoteSystemFailure();
  return RenameResult::kFailed;
}

bool RemoveEntry(const std::string& path, bool) {
  // Unlinking needs no right on the file itself: write protection does not
  // hold it here.
  return posix::Retried([&] { return unlink(path.c_str()); }) == 0 || SystemFailed();
}

bool RemoveEmptyFolder(const std::string& path) {
  return posix::Retried([&] { return rmdir(path.c_str()); }) == 0 || SystemFailed();
}

void AllowRemoval(const std::string& folder) {
  struct stat info {};
  if (lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
      (info.st_mode & S_IRWXU) != S_IRWXU) {
    (void)chmod(folder.c_str(), (info.st_mode & 07777) | S_IRWXU);
  }
}

bool LastFailureEndsCopies() {
  const unsigned long error = LastSystemError();
  return error == ENOSPC || error == EDQUOT || error == EROFS;
}

}  // namespace platform
