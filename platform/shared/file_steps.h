// Copies and moves follow the same rules on both systems (file_moves.cpp):
// no file copied onto itself, no folder or write-protected file replaced, a
// rename within one volume and a durable copy across volumes, the source
// removed only after a good copy. Each system supplies the steps they are
// made of (posix/file_ops_posix.cpp, win32/file_ops_win32.cpp). A step that
// fails notes its reason (failure.h).
#pragma once

#include <string>

#include "platform/file_ops.h"

namespace platform::file_steps {

// What is at a target: the entry itself, a link not followed.
enum class Entry { kNothing, kFolder, kWriteProtected, kOther };
Entry EntryAt(const std::string& path);

// A plain file, neither a folder nor a link: what a move renames.
bool IsPlainFile(const std::string& path);

enum class Renamed { kDone, kOtherVolume, kFailed };
// Renames source to target, replacing a file there when replace, else
// failing with kTargetAppeared when anything is there.
Renamed RenameFile(const std::string& source, const std::string& target, bool replace);

// Copies source, known not to be the target itself, through a temporary
// beside the target: checks the source, asks TargetAllows, makes the copy and
// puts it in place; durable asks for the copy to be on the disk before that.
bool CopyChecked(const std::string& source, const std::string& target, ExistingTarget existing,
                 const CopyProgress& progress, bool durable);

// Whether a tree's copies for a move are each made durable on their own
// (Windows), or all at once when the tree is done (Linux, SyncCopies).
extern const bool kDurableFileByFile;

// Shared: whether a copy may go to target, its reason noted when not; and
// whether the copy must be on the disk before it takes its place (durable
// is set when it replaces a file, and kept when the caller asked for it).
bool TargetAllows(const std::string& target, ExistingTarget existing, bool& durable);

// Shared: notes why a file could not take the target's name, its system's
// error given; exists tells that something was at the target.
void NoteNotPlaced(bool exists, unsigned long system_code);

}  // namespace platform::file_steps
