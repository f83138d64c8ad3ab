// Named temporaries on Linux: what identifies a process and its host, and
// the removal of the temporaries that ended processes left behind.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>

#include "platform/file_ops.h"
#include "platform/shared/named_temporaries.h"

namespace platform {

namespace temporaries {

std::string SystemHostName() {
  char name[HOST_NAME_MAX + 1] = "";
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

uint64_t ThisProcess() { return static_cast<uint64_t>(getpid()); }

// A process another user runs answers EPERM: it runs. Only ESRCH says that
// none of that id exists; an id no process can have counts as running, so
// that nothing is removed on a doubt.
bool ProcessRuns(uint64_t pid) {
  if (pid == 0 || pid > static_cast<uint64_t>(INT_MAX)) return true;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

Removal RemoveNamed(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT ? Removal::kGone : Removal::kFailed;
}

}  // namespace temporaries

// Each entry is looked at and removed through the folder's own descriptor,
// so a folder renamed or replaced meanwhile cannot lead elsewhere; a link or
// a folder of a temporary's name is never a temporary.
int RemoveStaleTemporaries(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.empty() ? "." : folder.c_str()),
                                                    closedir);
  if (!listing) return 0;
  const int at = dirfd(listing.get());
  int removed = 0;
  while (const dirent* entry = readdir(listing.get())) {
    if (!temporaries::IsStale(entry->d_name)) continue;
    struct stat info {};
    if (fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
      continue;
    }
    if (unlinkat(at, entry->d_name, 0) == 0) ++removed;
  }
  return removed;
}

}  // namespace platform
