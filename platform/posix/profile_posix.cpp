// The profile functions over the project's own INI engine: whole-file reads,
// and writes that replace the file in one rename so that no reader, crash or
// full disk ever leaves a half-written settings file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "platform/shared/ini_document.h"
#include "platform/posix/write_all.h"
#include "platform/profile.h"

namespace platform {

namespace {

// The whole file into bytes, when it can serve as a settings file: a
// regular file of at most kProfileSizeLimit bytes. Opened without waiting, so
// that a named pipe cannot hang the caller; a pipe or a device is refused
// before anything is read. info receives the file's status when it was read.
ProfileFileState ReadWholeFile(const std::string& path, std::string& bytes, struct stat* info) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
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
  ProfileFileState state = ProfileFileState::kUsable;
  if (fstat(fd, &status) != 0) {
    state = ProfileFileState::kUnreadable;
  } else if (!S_ISREG(status.st_mode)) {
    state = ProfileFileState::kNotAFile;
  } else if (status.st_size > kProfileSizeLimit) {
    state = ProfileFileState::kTooLarge;
  } else {
    bytes.reserve(static_cast<size_t>(status.st_size));
  }
  char chunk[65536];
  while (state == ProfileFileState::kUsable) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      state = ProfileFileState::kUnreadable;
    } else if (bytes.size() + static_cast<size_t>(got) > static_cast<size_t>(kProfileSizeLimit)) {
      state = ProfileFileState::kTooLarge;  // it grew while being read
    } else {
      bytes.append(chunk, static_cast<size_t>(got));
    }
  }
  close(fd);
  if (state != ProfileFileState::kUsable) {
    bytes.clear();
  } else if (info != nullptr) {
    *info = status;
  }
  return state;
}

// The document a ProfileSnapshot holds: one snapshot at a time.
struct HeldDocument {
  bool active = false;
  std::string path;
  ProfileFileState state = ProfileFileState::kMissing;
  std::string bytes;
};

HeldDocument& Held() {
  static HeldDocument held;
  return held;
}

void ReleaseHeld() {
  HeldDocument& held = Held();
  held.active = false;
  std::string().swap(held.bytes);
}

// The value of a key, from the held document when it is this file's, else
// from a fresh read. A file that cannot be used holds no keys.
std::optional<std::string> FindInFile(const std::string& path, const std::string& section,
                                      const std::string& key) {
  const HeldDocument& held = Held();
  if (held.active && held.path == path) {
    if (held.state != ProfileFileState::kUsable) return std::nullopt;
    return ini::FindValue(held.bytes, section, key);
  }
  std::string bytes;
  if (ReadWholeFile(path, bytes, nullptr) != ProfileFileState::kUsable) return std::nullopt;
  return ini::FindValue(bytes, section, key);
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
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
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

// Writes bytes to a fresh temporary beside path, makes it durable, gives it
// the old file's permissions and owner (or the usual ones for a new file),
// then renames it over path. On any failure path is untouched and the
// temporary is gone.
bool ReplaceFile(const std::string& path, const std::string& bytes, const struct stat* old) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  std::string temp = folder + (slash == std::string::npos ? "/." : ".") + name + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  const mode_t mode = old != nullptr ? (old->st_mode & 07777) : (0666 & ~CurrentUmask());
  bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0;
  if (ok && old != nullptr && (old->st_uid != geteuid() || old->st_gid != getegid())) {
    // Only a privileged writer can hand the file back to its owner; for
    // anyone else a failure here just leaves the file under their name.
    [[maybe_unused]] const int handed_back = fchown(fd, old->st_uid, old->st_gid);
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // The rename itself is made durable with the folder.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

std::string Cut(std::string text, int max_chars) {
  text.resize(std::min(text.size(), static_cast<size_t>(std::max(max_chars, 0))));
  return text;
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
  HeldDocument& held = Held();
  held.path = file;
  held.state = ReadWholeFile(file, held.bytes, nullptr);
  held.active = true;
  state_ = held.state;
}

ProfileSnapshot::~ProfileSnapshot() { ReleaseHeld(); }

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  if (std::optional<std::string> value = FindInFile(file, section, key)) {
    return Cut(*value, max_chars);
  }
  // As GetPrivateProfileString does, the default loses its trailing spaces.
  return Cut(def.substr(0, def.find_last_not_of(' ') + 1), max_chars);
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  const std::optional<std::string> value = FindInFile(file, section, key);
  return value ? ini::ParseNumber(*value, def) : def;
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  ReleaseHeld();
  // A value with a line break would damage the file; refuse it untouched.
  if (!ini::CanStore(section, key, value)) return false;
  const std::string target = WriteTarget(file);
  if (target.empty()) return false;
  std::string bytes;
  struct stat old {};
  const ProfileFileState state = ReadWholeFile(target, bytes, &old);
  // A file that cannot be read must not be replaced by what little we know.
  if (state != ProfileFileState::kUsable && state != ProfileFileState::kMissing) return false;
  const bool exists = state == ProfileFileState::kUsable;
  if (exists && WriteProtected(target, old)) return false;
  const std::string updated = ini::SetValue(bytes, section, key, value, "\n");
  if (!exists || updated != bytes) {
    if (!ReplaceFile(target, updated, exists ? &old : nullptr)) return false;
  }
  const std::optional<std::string> stored = FindInFile(target, section, key);
  return stored && *stored == value;
}

}  // namespace platform
