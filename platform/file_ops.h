// Changes to files. None of them ever leaves a half-written file in place of
// a good one. A failure leaves its reason in platform::LastFailure().
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// What a copy does when something is already at its target.
enum class ExistingTarget {
  kKeep,     // the copy fails and the target stays, even one that appeared
             // while the copy was being made
  kReplace,  // an existing file is replaced by the complete copy
};

// Told the bytes copied so far, now and then during a copy (0 before the
// first byte); answers false to stop it: the copy then stops at its next
// step, fails with Failure::kStopped and leaves nothing behind. Called on the
// thread that copies.
using CopyProgress = std::function<bool(uint64_t bytes_done)>;

// Copies the content of source (following a symbolic link) to target, keeping
// the permissions and the modification time; the set-user-ID and set-group-ID
// bits go when the copy's owner is not the source's. The copy is made in a
// temporary file beside the target and then put in its place, so on failure
// the old target is untouched and the temporary is gone; on Linux the
// temporary has no name where the file system allows, so that nothing is
// left of it however the process ends. Fails for a folder,
// and never replaces a folder or a write-protected file. A replaced file's
// successor is on the disk before it takes the old one's place.
bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing,
                const CopyProgress& progress = {});

enum class MoveOutcome {
  kMoved,
  kFailed,          // nothing changed: the source is where it was
  kSourceRemained,  // copied to another volume, but the source could not go
};
// Moves the file source to target under the same rules as CopyFileTo. Within
// one volume the file is renamed, whatever its size; across volumes it is
// copied, the copy made durable, and only then the source removed. A link is
// moved as a copy of what it points to, and then the link alone removed.
MoveOutcome MoveFileTo(const std::string& source, const std::string& target,
                       ExistingTarget existing, const CopyProgress& progress = {});

// Tests make copies slow: while a pacer is set, every copy calls it on its
// own thread with the bytes copied so far, before its first step and after
// each step the system reports, and goes on when it returns.
using CopyPacer = std::function<void(uint64_t bytes_done)>;
void SetCopyPacer(CopyPacer pacer);

// Removes from folder the temporaries that copies of this program left there
// when their process ended without cleaning up (a crash, a power cut): plain
// files named as this program names its temporaries, made on this host by a
// process that no longer runs. Nothing else is touched: no temporary of a
// process that runs now (whatever it runs), none of another host, no folder
// or link of such a name, no other name. Answers how many it removed.
int RemoveStaleTemporaries(const std::string& folder);

// Removes a file or a symbolic link (never its target); fails for a folder.
bool RemoveFile(const std::string& path);
// Moves a file or folder to the Recycle Bin / the user's Trash.
bool MoveToTrash(const std::string& path);
// The size of a plain file in bytes (a link followed); 0 for anything else.
uint64_t FileSize(const std::string& path);

}  // namespace platform
