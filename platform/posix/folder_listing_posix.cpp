// Folders listed one entry at a time, and what an entry is, on Linux. The
// listing's own descriptor answers the questions about its entries, so that
// no long path is looked up again for each of them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "platform/posix/posix_files.h"

namespace platform {

namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kSpecial;
}

EntryKind KindOfType(unsigned char type) {
  switch (type) {
    case DT_REG:
      return EntryKind::kFile;
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_LNK:
      return EntryKind::kLink;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK:
      return EntryKind::kSpecial;
    default:
      return EntryKind::kUnknown;  // the file system does not say: ask
  }
}

}  // namespace

struct FolderListing::State {
  DIR* dir = nullptr;
  bool with_sizes = false;
  bool failed = false;
  FolderIdentity identity;
};

FolderListing::FolderListing(const std::string& path, bool with_sizes)
    : state_(std::make_unique<State>()) {
  state_->with_sizes = with_sizes;
  const int fd = posix::Retried(
      [&] { return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK); });
  struct stat info {};
  if (fd < 0 || posix::Retried([&] { return fstat(fd, &info); }) != 0) {
    NoteSystemFailure();
    if (fd >= 0) close(fd);
    return;
  }
  state_->identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  state_->dir = fdopendir(fd);
  if (state_->dir == nullptr) {
    NoteSystemFailure();
    close(fd);
  }
}

FolderListing::~FolderListing() {
  if (state_->dir != nullptr) closedir(state_->dir);
}

bool FolderListing::opened() const { return state_->dir != nullptr; }

FolderIdentity FolderListing::identity() const { return state_->identity; }

bool FolderListing::failed() const { return state_->failed; }

bool FolderListing::Next(FolderEntry& entry) {
  if (state_->dir == nullptr || state_->failed) return false;
  for (;;) {
    errno = 0;
    const dirent* found = readdir(state_->dir);
    if (found == nullptr) {
      if (errno == EINTR) continue;
      if (errno == 0) return false;  // the end
      NoteSystemFailure();
      state_->failed = true;
      return false;
    }
    const char* name = found->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    entry.name = name;
    entry.kind = KindOfType(found->d_type);
    entry.size = 0;
    if (entry.kind != EntryKind::kUnknown &&
        !(state_->with_sizes && entry.kind == EntryKind::kFile)) {
      return true;
    }
    struct stat info {};
    if (posix::Retried(
            [&] { return fstatat(dirfd(state_->dir), name, &info, AT_SYMLINK_NOFOLLOW); }) != 0) {
      if (errno == ENOENT) continue;  // gone since it was listed
      NoteSystemFailure();
      entry.kind = EntryKind::kUnknown;
      return true;
    }
    entry.kind = KindOfMode(info.st_mode);
    if (entry.kind == EntryKind::kFile) entry.size = static_cast<uint64_t>(info.st_size);
    return true;
  }
}

EntryKind KindOf(const std::string& path, uint64_t* size) {
  struct stat info {};
  if (posix::Retried([&] { return lstat(path.c_str(), &info); }) != 0) {
    if (errno == ENOENT) return EntryKind::kNone;
    NoteSystemFailure();
    return EntryKind::kUnknown;
  }
  if (size != nullptr) *size = S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
  return KindOfMode(info.st_mode);
}

bool IdentityOf(const std::string& path, FolderIdentity& identity) {
  struct stat info {};
  if (posix::Retried([&] { return stat(path.c_str(), &info); }) != 0) return false;
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return true;
}

std::string ResolvedPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) {
    NoteSystemFailure();
    return {};
  }
  std::string result = resolved;
  free(resolved);
  return result;
}

}  // namespace platform
