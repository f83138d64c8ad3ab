// Questions about files, answered by POSIX calls. Names are taken as they
// are: "*" and "?" are ordinary characters, and letter case counts.
#include "platform/file_query.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

namespace {

// Longest executable path accepted; the buffer grows up to this size.
constexpr size_t kExecutablePathLimit = 1 << 20;

}  // namespace

std::string ExecutablePath() {
  std::vector<char> buffer(1024);
  while (buffer.size() <= kExecutablePathLimit) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    // A result that fills the buffer may have been cut: try again larger.
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

// A symbolic link exists even when what it points to does not: copying onto
// it replaces the link, so callers must treat it as an existing entry. Only
// "no such entry" means absent; any other failure (a folder that may not be
// searched) cannot tell, and what may be there counts as there.
bool PathExists(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG;
}

std::string ShortPathOf(const std::string& path, int max_length) {
  // No short names here: the path stands for itself when it exists and fits.
  if (max_length <= 0 || path.size() > static_cast<size_t>(max_length)) return {};
  return PathExists(path) ? path : std::string();
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
