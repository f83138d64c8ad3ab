// A new file's content, staged beside its target: unnamed where the file
// system allows, else under a named temporary.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/posix/posix_files.h"
#include "platform/shared/named_temporaries.h"

namespace platform::posix {

namespace {

std::atomic<bool> unnamed_allowed{true};

// An unnamed file gets its name by a link to /proc/self/fd/N: without /proc
// (a bare chroot) it could never be put in place.
bool UnnamedFilesWork() {
  static const bool proc_mounted = access("/proc/self/fd", X_OK) == 0;
  return proc_mounted && unnamed_allowed.load(std::memory_order_relaxed);
}

// The answers by which a file system (or an older kernel) says it makes no
// unnamed files, as opposed to the reasons no file can be made there at all.
bool MakesNoUnnamedFiles(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

// Links the open file fd to path; fails with EEXIST when anything is there.
bool LinkOpenFile(int fd, const std::string& path) {
  char self[48];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  return Retried([&] {
           return linkat(AT_FDCWD, self, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
         }) == 0;
}

// A named temporary in folder, made by make; errno tells why when none was.
std::string MakeNamed(const std::string& folder,
                      const std::function<bool(const std::string&)>& make) {
  int error = 0;
  std::string made = temporaries::Make(folder + "/", [&](const std::string& path) {
    if (make(path)) return temporaries::Made::kMade;
    error = errno;
    return error == EEXIST ? temporaries::Made::kTaken : temporaries::Made::kFailed;
  });
  if (made.empty()) errno = error != 0 ? error : ECANCELED;  // none: the process ends
  return made;
}

}  // namespace

void AllowUnnamedFiles(bool allowed) { unnamed_allowed = allowed; }

StagedFile::StagedFile(const std::string& target) : target_(target) {
  const std::string folder = FolderOf(target);
  if (UnnamedFilesWork()) {
    file_.Reset(
        Retried([&] { return open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); }));
    if (file_.valid() || !MakesNoUnnamedFiles(errno)) return;
  }
  named_ = MakeNamed(folder, [&](const std::string& path) {
    file_.Reset(
        Retried([&] { return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600); }));
    return file_.valid();
  });
}

StagedFile::~StagedFile() {
  if (placed_ || named_.empty()) return;  // an unnamed file goes with its descriptor
  const int error = errno;                // the caller reports the failure that led here
  file_.Close();
  temporaries::Discard(named_);
  errno = error;
}

bool StagedFile::LinkUnderTemporaryName() {
  named_ = MakeNamed(FolderOf(target_),
                     [&](const std::string& path) { return LinkOpenFile(file_.get(), path); });
  return !named_.empty();
}

bool StagedFile::PutInPlace(bool replace, bool durable) {
  if (!file_.valid()) return false;
  if (durable && Retried([&] { return fsync(file_.get()); }) != 0) return false;
  if (named_.empty() && !replace) {
    placed_ = LinkOpenFile(file_.get(), target_);
  } else {
    if (named_.empty() && !LinkUnderTemporaryName()) return false;
    if (!file_.Close()) return false;
    placed_ = RenameInto(named_, target_, replace);
    if (placed_) temporaries::Forget(named_);
  }
  if (placed_ && durable) SyncFolder(FolderOf(target_));
  return placed_;
}

}  // namespace platform::posix
