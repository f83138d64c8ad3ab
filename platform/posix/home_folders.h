// The user's base folders on Linux, shared by the platform code that needs
// them.
#pragma once

#include <string>

namespace platform {

// $HOME, or the home folder of the user's account when HOME is not set;
// without a trailing slash. Empty when neither is known.
std::string HomeFolder();
// $XDG_DATA_HOME when it is an absolute path (the base-directory rules ignore
// a relative one), else ~/.local/share; empty when no home is known.
std::string DataHome();

}  // namespace platform
