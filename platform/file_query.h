// Questions about files that the operating system answers.
#pragma once

#include <string>

namespace platform {

// Full path of the running executable; empty on failure.
std::string ExecutablePath();
// True when the file or folder exists. On Linux also when the system cannot
// tell (the entry is in a folder that may not be searched): what may be
// there is never taken for absent.
bool PathExists(const std::string& path);
#ifdef _WIN32
// True when at least one entry matches the pattern ("*" any run, "?" one
// character, in the last component only). Only Windows has patterns: "*" and
// "?" cannot be in its file names; elsewhere they are ordinary characters.
bool PatternMatches(const std::string& pattern);
#endif
// The short (8.3) form of an existing path; empty when there is none or it
// would not fit in max_length characters. Where the file system has no short
// names it is the path itself when it exists.
std::string ShortPathOf(const std::string& path, int max_length);
// True when both paths name the same existing file (same identity, not same
// text: hard links and different spellings count as the same).
bool IsSameFile(const std::string& a, const std::string& b);
// True when the path exists and is a folder.
bool IsFolder(const std::string& path);
// True when the path exists and is a plain file (not a folder or a device);
// links are followed.
bool IsRegularFile(const std::string& path);

}  // namespace platform
