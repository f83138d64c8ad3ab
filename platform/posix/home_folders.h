// The user's base folders on Linux, shared by the platform code that needs
// them.
#pragma once

#include <string>

#include "platform/known_folders.h"

namespace platform {

// $XDG_DATA_HOME when it is an absolute path (the base-directory rules ignore
// a relative one), else ~/.local/share; empty when no home is known.
std::string DataHome();
// $XDG_CONFIG_HOME when it is an absolute path (the base-directory rules
// ignore a relative one), else ~/.config; without a trailing slash.
std::string ConfigHome();

}  // namespace platform
