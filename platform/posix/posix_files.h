// The small pieces every Linux file operation is made of: a descriptor that
// closes itself, a whole-buffer write, a path's folder, a durable folder, a
// folder made with its parents, and a hidden temporary put in place of its
// target in one rename.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform::posix {

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

// A new file's content written to a hidden temporary beside its target (in
// the same folder, so the rename stays on one file system) and put in place
// in one step: until then the target is untouched, and a temporary that is
// never put in place is removed.
class StagedFile {
 public:
  explicit StagedFile(const std::string& target);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  // The temporary's descriptor; invalid when it could not be made (errno
  // says why).
  const Descriptor& file() const { return file_; }
  // Closes the temporary, after fsync when durable, and renames it to the
  // target, replacing what is there or, when replace is false, refusing an
  // existing target in the same step (errno EEXIST). A durable rename is made
  // durable with its folder. False, with errno set, on any failure.
  bool PutInPlace(bool replace, bool durable);

 private:
  std::string target_;
  std::string name_;
  Descriptor file_;
  bool made_;
  bool placed_ = false;
};

}  // namespace platform::posix
