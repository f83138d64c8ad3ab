// The box's lock, from the setting b, and what opens its menu, from m.
#pragma once

#include <cstdint>

// True when the box is unlocked: moved by its body, resized by its frame.
bool UnlockedMode();
// Switches between locked and unlocked and writes the new b to the settings
// file at once; returns the new b (1 unlocked, 0 locked). The shell changes
// the frame to match.
int32_t ToggleLock();
// True when a right-button release opens the menu. Over the unlocked box
// (whose body answers as a caption, so it is all frame) it always does; over
// the client area, which is the whole locked box, only when m is 1.
bool RightReleaseOpensMenu(bool client_area);
