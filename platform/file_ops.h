// Changes to files. None of them ever leaves a half-written file in place of
// a good one.
#pragma once

#include <string>

namespace platform {

// Copies the content of source (following a symbolic link) to target, keeping
// the permissions and the modification time. An existing target is replaced
// only by a complete copy: the copy is made in a temporary file beside the
// target and then put in its place, so on failure the old target is untouched
// and the temporary is gone. Fails for a folder.
bool CopyFileReplacing(const std::string& source, const std::string& target);
// Removes a file or a symbolic link (never its target); fails for a folder.
bool RemoveFile(const std::string& path);
// Moves a file or folder to the Recycle Bin / the user's Trash.
bool MoveToTrash(const std::string& path);

}  // namespace platform
