// A settings file with more than one name: a hard link, as scoop keeps a file
// it persists across updates (one name in the program's folder, one in its
// persist folder). Replacing such a file by a rename would give the
// program's name a new file and leave the other name with the old settings,
// so it is rewritten in place. An in-place write is not one step; a journal
// beside the file makes it one: the bytes before and after are made durable
// there first, and a rewrite cut short (a crash, a power cut) is finished by
// the next read of the file. So the file is always the old one or the new
// one, whole, or it is made so before anyone reads it.
#pragma once

#include <string>

namespace platform::settings_io::linked {

// The journal of a rewrite of path: path + ".pending".
std::string JournalPath(const std::string& path);

// What a journal holds: the file's bytes before and after the rewrite, and a
// check over both, so that a journal written only in part is never taken.
std::string JournalBytes(const std::string& before, const std::string& after);

// Puts after in place of the content of the linked file at path, through the
// journal. True when the file holds after. On a failure the file holds its
// old bytes again and the journal is gone; should even that write fail, the
// journal stays and the next read finishes the rewrite. A read-only file is
// left as it is.
bool Rewrite(const std::string& path, const std::string& after);

// What a rewrite of path left behind, when its journal is still there: the
// file is finished (true) when it holds a mix of the old and new bytes, as a
// write cut short leaves it. A file that holds the old or the new bytes, or
// anything else (the user edited it since), stays as it is. The journal goes.
bool FinishInterrupted(const std::string& path);

}  // namespace platform::settings_io::linked
