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
#include "platform/profile.h"

namespace platform {

namespace {

enum class ReadOutcome { kRead, kMissing, kFailed };

// The whole file into bytes. A folder, or any error other than a missing
// file, is a failure; info receives the file's status when it was read.
ReadOutcome ReadWholeFile(const std::string& path, std::string& bytes, struct stat* info) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && !S_ISDIR(status.st_mode);
  char chunk[65536];
  while (ok) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    else bytes.append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  if (!ok) return ReadOutcome::kFailed;
  if (info != nullptr) *info = status;
  return ReadOutcome::kRead;
}

// For reading, a missing or unreadable file holds no keys.
std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes, nullptr) != ReadOutcome::kRead) bytes.clear();
  return bytes;
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

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
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

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  if (std::optional<std::string> value = ini::FindValue(FileBytes(file), section, key)) {
    return Cut(*value, max_chars);
  }
  // As GetPrivateProfileString does, the default loses its trailing spaces.
  return Cut(def.substr(0, def.find_last_not_of(' ') + 1), max_chars);
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  const std::optional<std::string> value = ini::FindValue(FileBytes(file), section, key);
  return value ? ini::ParseNumber(*value, def) : def;
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  // A value with a line break would damage the file; refuse it untouched.
  if (!ini::CanStore(section, key, value)) return false;
  const std::string target = WriteTarget(file);
  if (target.empty()) return false;
  std::string bytes;
  struct stat old {};
  const ReadOutcome outcome = ReadWholeFile(target, bytes, &old);
  // A file that cannot be read must not be replaced by what little we know.
  if (outcome == ReadOutcome::kFailed) return false;
  const std::string updated = ini::SetValue(bytes, section, key, value, "\n");
  if (outcome == ReadOutcome::kMissing || updated != bytes) {
    if (!ReplaceFile(target, updated, outcome == ReadOutcome::kRead ? &old : nullptr)) return false;
  }
  const std::optional<std::string> stored = ini::FindValue(FileBytes(target), section, key);
  return stored && *stored == value;
}

}  // namespace platform
