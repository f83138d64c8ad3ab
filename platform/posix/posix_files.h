// The small pieces every Linux file operation is made of: a descriptor that
// closes itself, a whole-buffer write, a path's folder, a durable folder, a
// folder made with its parents, and a new file's content staged beside its
// target and put in place in one step.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <string>

namespace platform::posix {

// Calls call again for as long as it fails with EINTR: a signal that arrives
// during a system call must not fail the copy.
template <typename Call>
auto Retried(Call call) -> decltype(call()) {
  for (;;) {
    const auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor();
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close went well (a failing close can
  // mean lost data on some file systems).
  bool Close();
  // Hands the descriptor over to the caller, who closes it.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held, if any, and holds fd instead.
  void Reset(int fd);

 private:
  int fd_;
};

// Writes all size bytes, going on after short writes and interruptions;
// false on any other failure.
bool WriteAll(int fd, const char* data, size_t size);
inline bool WriteAll(int fd, const std::string& bytes) {
  return WriteAll(fd, bytes.data(), bytes.size());
}

// The folder that holds path: "." for a bare name, "/" for an entry of the
// root.
std::string FolderOf(const std::string& path);

// Makes the folder's entries durable: a name just renamed into it survives a
// power cut.
void SyncFolder(const std::string& folder);

// Makes path and each missing parent, as "mkdir -p" does; the umask trims
// mode. True when path is a folder afterwards.
bool MakeFolderPath(const std::string& path, mode_t mode);

// Renames from to to, replacing what is there or, when replace is false,
// refusing an existing target in the same step (errno EEXIST), however
// recently it came to be: where the file system takes no rename flags, a
// hard link refuses it just as well, and the old name then goes. False, with
// errno set, on failure; EXDEV when they lie on two file systems.
bool RenameInto(const std::string& from, const std::string& to, bool replace);

// A new file's content staged beside its target (in the same folder, so
// that it reaches its place without leaving the file system) and put in
// place in one step: until then the target is untouched. The staged file has
// no name where the file system can make one so (O_TMPFILE): however the
// process ends, nothing is left of it. Elsewhere (vfat, exFAT, some network
// file systems) it is a named temporary (shared/named_temporaries.h),
// removed when it is not put in place.
class StagedFile {
 public:
  explicit StagedFile(const std::string& target);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  // The staged file's descriptor; invalid when it could not be made (errno
  // says why).
  const Descriptor& file() const { return file_; }
  // Puts the staged file at the target, after fsync when durable, replacing
  // what is there or, when replace is false, refusing an existing target in
  // the same step (errno EEXIST), however recently it came to be. A file
  // without a name takes the target's name by a link; one that replaces a
  // file is linked under a named temporary first and renamed over it. A
  // durable placement is made durable with its folder. False, with errno
  // set, on any failure.
  bool PutInPlace(bool replace, bool durable);

 private:
  // Gives the unnamed file a named temporary's name beside the target.
  bool LinkUnderTemporaryName();

  std::string target_;
  std::string named_;  // empty while the file has no name
  Descriptor file_;
  bool placed_ = false;
};

// Tests take the road of file systems without unnamed files: while false,
// every staged file is a named temporary.
void AllowUnnamedFiles(bool allowed);

}  // namespace platform::posix
