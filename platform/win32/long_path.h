// Paths on their way to and from the W file functions. A full path that is
// too long for the old MAX_PATH limit gets the "\\?\" form ("\\?\UNC\" for a
// network path), which the system takes at any length; every other path
// passes as it is, so short paths behave exactly as they always did.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// The UTF-16 form of a UTF-8 path for the W file functions.
std::wstring SystemPath(const std::string& path);
// A path the system gave back, in UTF-8 and without the long-path prefix.
std::string ProgramPath(std::wstring_view path);

}  // namespace platform::win32
