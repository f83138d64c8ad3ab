// The steps of copies and moves on Linux. A copy is staged beside its target
// (posix_files.h: unnamed where the file system allows) and put in place in
// one step, so the target is either the old file or the complete new one,
// never something in between. A move within one file system is a rename.
#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/failure.h"
#include "platform/posix/copy_content.h"
#include "platform/posix/posix_files.h"
#include "platform/shared/file_steps.h"

namespace platform {

namespace {

using posix::Descriptor;

// False, with the system's reason noted.
bool SystemFailed() {
  NoteSystemFailure();
  return false;
}

// Fills the staged file with the source's bytes, permissions and times.
// Permissions and times are kept where the file system can hold them; one
// that cannot (a FAT stick) still gets the content. A copy that belongs to
// someone else than the source (root copying another user's file, say) loses
// the set-user-ID and set-group-ID bits, as cp does: it must not run with its
// new owner's rights what the source's owner put in it.
bool FillStaged(int source, const struct stat& info, int staged, const std::string& target,
                const CopyProgress& progress) {
  // A folder's files go one route after another: what the file systems
  // refused for the last one holds for the next.
  thread_local CopyRoute route;
  const std::string folder = posix::FolderOf(target);
  if (route.source != info.st_dev || route.target_folder != folder) {
    route = CopyRoute{info.st_dev, folder};
  }
  if (!CopyContent(source, staged, static_cast<uint64_t>(info.st_size), progress, route)) {
    if (errno == ECANCELED)
      NoteFailure(Failure::kStopped);
    else
      NoteSystemFailure();
    return false;
  }
  mode_t mode = info.st_mode & 07777;
  struct stat made {};
  if ((mode & (S_ISUID | S_ISGID)) == 0) {
    // Nothing to drop: the copy's owner need not be asked.
  } else if (posix::Retried([&] { return fstat(staged, &made); }) != 0 ||
             made.st_uid != info.st_uid) {
    mode &= ~(S_ISUID | S_ISGID);
  } else if (made.st_gid != info.st_gid) {
    mode &= ~S_ISGID;
  }
  (void)posix::Retried([&] { return fchmod(staged, mode); });
  const timespec times[2] = {info.st_atim, info.st_mtim};
  (void)posix::Retried([&] { return futimens(staged, times); });
  return true;
}

}  // namespace

namespace file_steps {

Entry EntryAt(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return Entry::kNothing;
  if (S_ISDIR(info.st_mode)) return Entry::kFolder;
  if (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return Entry::kWriteProtected;
  return Entry::kOther;
}

bool IsPlainFile(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Renamed RenameFile(const std::string& source, const std::string& target, bool replace) {
  if (posix::RenameInto(source, target, replace)) return Renamed::kDone;
  if (errno == EXDEV) return Renamed::kOtherVolume;
  NoteNotPlaced(errno == EEXIST, static_cast<unsigned long>(errno));
  return Renamed::kFailed;
}

bool CopyChecked(const std::string& source, const std::string& target, ExistingTarget existing,
                 const CopyProgress& progress, bool durable) {
  // Non-blocking, so that a named pipe given as source cannot hang the open;
  // it is refused below like every other entry that is not a regular file.
  Descriptor input(
      posix::Retried([&] { return open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }));
  if (input.get() < 0) return SystemFailed();
  struct stat info;
  if (posix::Retried([&] { return fstat(input.get(), &info); }) != 0) return SystemFailed();
  if (!S_ISREG(info.st_mode)) {
    NoteFailure(S_ISDIR(info.st_mode) ? Failure::kFolder : Failure::kNotAFile);
    return false;
  }
  if (!TargetAllows(target, existing, durable)) return false;

  posix::StagedFile staged(target);
  if (!staged.file().valid()) return SystemFailed();
  if (!FillStaged(input.get(), info, staged.file().get(), target, progress)) return false;
  if (staged.PutInPlace(existing == ExistingTarget::kReplace, durable)) return true;
  NoteNotPlaced(errno == EEXIST, static_cast<unsigned long>(errno));
  return false;
}

}  // namespace file_steps

bool RemoveFile(const std::string& path) {
  // lstat, not stat: a link to a folder is a link, removed like a file.
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return SystemFailed();
  if (S_ISDIR(info.st_mode)) {
    NoteFailure(Failure::kFolder);
    return false;
  }
  return posix::Retried([&] { return unlink(path.c_str()); }) == 0 || SystemFailed();
}

uint64_t FileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<uint64_t>(info.st_size);
}

}  // namespace platform
