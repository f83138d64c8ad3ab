// Folders of the user that the operating system knows.
#pragma once

#include <string>

namespace platform {

// The path of a special folder given by its Windows CSIDL number, as the
// platform gives it (normally without a trailing separator); empty on failure.
// With create set, a missing folder is created. Outside Windows the desktop
// (0x0010) is the only folder known, found by the XDG user-dirs rules.
std::string SpecialFolderPath(int csidl, bool create);
// The per-user folder for the program's settings, with a trailing separator:
// %APPDATA%\Quorlith\ on Windows, $XDG_CONFIG_HOME/quorlith/ (or
// ~/.config/quorlith/) elsewhere. It is not created here.
std::string UserSettingsFolder();
// Creates a folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);
#ifndef _WIN32
// $HOME, or the home folder of the user's account when HOME is not set;
// without a trailing slash. Empty when neither is known.
std::string HomeFolder();
#endif

}  // namespace platform
