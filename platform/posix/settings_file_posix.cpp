// The settings file on Linux: read only when it is a regular file of a sane
// size, never waiting on a pipe; replaced in one rename, keeping its
// permissions and owner.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/failure.h"
#include "platform/posix/posix_files.h"
#include "platform/shared/settings_file_io.h"

namespace platform::settings_io {

namespace {

// The whole file into bytes, when it can serve as a settings file: a
// regular file of at most kProfileSizeLimit bytes. Opened without waiting, so
// that a named pipe cannot hang the caller; a pipe or a device is refused
// before anything is read.
ProfileFileState ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const posix::Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.valid()) {
    const int error = errno;
    struct stat seen {};
    if (stat(path.c_str(), &seen) == 0 && !S_ISREG(seen.st_mode)) {
      return ProfileFileState::kNotAFile;
    }
    // A dangling link is there, it just cannot be read.
    const bool absent = (error == ENOENT || error == ENOTDIR) && lstat(path.c_str(), &seen) != 0;
    return absent ? ProfileFileState::kMissing : ProfileFileState::kUnreadable;
  }
  struct stat status {};
  if (fstat(file.get(), &status) != 0) return ProfileFileState::kUnreadable;
  return ReadOpenedFile(
      S_ISREG(status.st_mode), status.st_size,
      [&](char* into, size_t room) -> int64_t {
        for (;;) {
          const ssize_t got = read(file.get(), into, room);
          if (got >= 0 || errno != EINTR) return got;
        }
      },
      bytes);
}

// A file whose owner took away its write permission is not rewritten, as
// Windows keeps its hands off a read-only file; nor is one this process may
// not write (replacing it by rename would need only the folder's permission).
bool WriteProtected(const std::string& path, const struct stat& info) {
  return (info.st_mode & S_IWUSR) == 0 || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// The process's file-creation mask, read without changing it (umask() would
// change it for every thread for a moment).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

// A settings file that is a symbolic link stays one: the write goes to the
// file it points to. Empty when the link leads nowhere.
std::string WriteTarget(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// Notes the system's error of the moment as the reason of a failed write.
bool Failed() {
  NoteFailure(Failure::kSystem, static_cast<unsigned long>(errno != 0 ? errno : EIO));
  return false;
}

// Writes bytes to a fresh temporary beside path, makes it durable, gives it
// the old file's permissions and owner (or the usual ones for a new file),
// then renames it over path. On any failure path is untouched, the
// temporary is gone and the reason is noted.
bool ReplaceFile(const std::string& path, const std::string& bytes, const struct stat* old) {
  posix::StagedFile temporary(path);
  const int fd = temporary.file().get();
  if (fd < 0) return Failed();
  const mode_t mode = old != nullptr ? (old->st_mode & 07777) : (0666 & ~CurrentUmask());
  if (!posix::WriteAll(fd, bytes) || fchmod(fd, mode) != 0) return Failed();
  if (old != nullptr && (old->st_uid != geteuid() || old->st_gid != getegid())) {
    // Only a privileged writer can hand the file back to its owner; for
    // anyone else a failure here just leaves the file under their name.
    [[maybe_unused]] const int handed_back = fchown(fd, old->st_uid, old->st_gid);
  }
  return temporary.PutInPlace(true, true) || Failed();
}

}  // namespace

const char* const kLineEnd = "\n";

Contents Read(const std::string& path) {
  Contents contents;
  contents.state = ReadWholeFile(path, contents.text);
  return contents;
}

std::string ValueText(std::string value, const Contents& /*from*/) { return value; }

bool Replace(const std::string& path, const std::string& text, const Contents& /*old*/) {
  // A settings file that is a symbolic link stays one: the write goes to the
  // file it points to.
  const std::string target = WriteTarget(path);
  if (target.empty()) return Failed();
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && WriteProtected(target, old)) {
    NoteFailure(Failure::kSystem, EACCES);
    return false;
  }
  return ReplaceFile(target, text, exists ? &old : nullptr);
}

}  // namespace platform::settings_io
