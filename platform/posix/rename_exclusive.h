// A rename that never replaces what is at its target.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace platform {

enum class RenameOutcome {
  kDone,
  kTargetExists,  // something is at the target; nothing was changed
  kUnsupported,   // the file system takes no rename flags; nothing was changed
  kFailed,
};

// Renames from to to in one step that fails when to exists, however
// recently it came to be.
inline RenameOutcome RenameExclusive(const std::string& from, const std::string& to) {
  int done;
  do {
    done = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  } while (done != 0 && errno == EINTR);
  if (done == 0) {
    return RenameOutcome::kDone;
  }
  if (errno == EEXIST) return RenameOutcome::kTargetExists;
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return RenameOutcome::kUnsupported;
  return RenameOutcome::kFailed;
}

}  // namespace platform
