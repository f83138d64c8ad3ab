// Changes to files. None of them ever leaves a half-written file in place of
// a good one.
#pragma once

#include <string>

namespace platform {

// What a copy does when something is already at its target.
enum class ExistingTarget {
  kKeep,     // the copy fails and the target stays, even one that appeared
             // while the copy was being made
  kReplace,  // an existing file is replaced by the complete copy
};

// Copies the content of source (following a symbolic link) to target, keeping
// the permissions and the modification time; the set-user-ID and set-group-ID
// bits go when the copy's owner is not the source's. The copy is made in a
// temporary file beside the target and then put in its place, so on failure
// the old target is untouched and the temporary is gone. Fails for a folder,
// and never replaces a folder or a write-protected file.
bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing);
// Removes a file or a symbolic link (never its target); fails for a folder.
bool RemoveFile(const std::string& path);
// Moves a file or folder to the Recycle Bin / the user's Trash.
bool MoveToTrash(const std::string& path);

}  // namespace platform
