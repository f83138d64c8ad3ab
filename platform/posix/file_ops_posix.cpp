// Changes to files on Linux. A copy is written to a temporary file beside
// its target and renamed into place, so the target is either the old file
// or the complete new one, never something in between.
#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/file_query.h"
#include "platform/posix/rename_exclusive.h"
#include "platform/posix/write_all.h"

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

bool CopyContent(int from, int to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(to, buffer.data(), static_cast<size_t>(got))) return false;
  }
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Fills the temporary with the source's bytes, permissions and times, and
// makes it durable. Permissions and times are kept where the file system can
// hold them; one that cannot (a FAT stick) still gets the content. A copy
// that belongs to someone else than the source (root copying another user's
// file, say) loses the set-user-ID and set-group-ID bits, as cp does: it must
// not run with its new owner's rights what the source's owner put in it.
bool FillTemporary(int source, const struct stat& info, Descriptor& temporary) {
  if (!CopyContent(source, temporary.get())) return false;
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
  if (fsync(temporary.get()) != 0) return false;
  return temporary.Close();
}

// Puts the finished temporary at target. Kept targets are never replaced, not
// even one that appeared a moment ago: the rename refuses an existing target
// in the same step; where the file system takes no rename flags, a hard link
// refuses it just as well, and the temporary's name then goes.
bool PutInPlace(const std::string& temporary, const std::string& target,
                ExistingTarget existing) {
  if (existing == ExistingTarget::kReplace) return rename(temporary.c_str(), target.c_str()) == 0;
  switch (RenameExclusive(temporary, target)) {
    case RenameOutcome::kDone:
      return true;
    case RenameOutcome::kUnsupported:
      if (link(temporary.c_str(), target.c_str()) != 0) return false;
      unlink(temporary.c_str());
      return true;
    default:
      return false;
  }
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing) {
  // A file copied onto itself would be emptied before it is read.
  if (IsSameFile(source, target)) return false;

  // Non-blocking, so that a named pipe given as source cannot hang the open;
  // it is refused below like every other entry that is not a regular file.
  Descriptor input(open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (input.get() < 0) return false;
  struct stat info;
  if (fstat(input.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

  // An existing folder is never replaced, nor a file its owner has
  // write-protected: Windows refuses both, and so do we (rename would not,
  // since it needs only the folder to be writable).
  struct stat present;
  if (lstat(target.c_str(), &present) == 0) {
    if (S_ISDIR(present.st_mode)) return false;
    if (S_ISREG(present.st_mode) && (present.st_mode & S_IWUSR) == 0) return false;
  }

  // A short hidden name in the target's folder: the rename stays within one
  // file system, and a long target name cannot make the name too long.
  std::string temporary_name = FolderOf(target) + "/.quorlith-XXXXXX";
  Descriptor temporary(mkstemp(temporary_name.data()));
  if (temporary.get() < 0) return false;
  if (!FillTemporary(input.get(), info, temporary) ||
      !PutInPlace(temporary_name, target, existing)) {
    unlink(temporary_name.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const std::string& path) {
  // lstat, not stat: a link to a folder is a link, removed like a file.
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return unlink(path.c_str()) == 0;
}

}  // namespace platform
