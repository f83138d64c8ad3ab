#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/rename_exclusive.h"

namespace platform::posix {

Descriptor::~Descriptor() {
  if (fd_ >= 0) close(fd_);
}

void Descriptor::Reset(int fd) {
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
}

bool Descriptor::Close() {
  const int fd = fd_;
  fd_ = -1;
  return fd >= 0 && close(fd) == 0;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  const Descriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) (void)fsync(dir.get());
}

bool MakeFolderPath(const std::string& path, mode_t mode) {
  if (path.empty()) return false;
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), mode);
  }
  mkdir(path.c_str(), mode);
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RenameInto(const std::string& from, const std::string& to, bool replace) {
  if (replace) return Retried([&] { return rename(from.c_str(), to.c_str()); }) == 0;
  switch (RenameExclusive(from, to)) {
    case RenameOutcome::kDone:
      return true;
    case RenameOutcome::kTargetExists:
      errno = EEXIST;
      return false;
    case RenameOutcome::kUnsupported:
      if (Retried([&] { return link(from.c_str(), to.c_str()); }) != 0) return false;
      (void)Retried([&] { return unlink(from.c_str()); });
      return true;
    case RenameOutcome::kFailed:
      break;
  }
  return false;
}

}  // namespace platform::posix
