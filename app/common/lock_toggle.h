// The drop box's lock, opacity, size and place, as both shells apply them.
#pragma once

#include <cstdint>
#include <span>

// True when the box is unlocked: moved by its body, resized by its frame.
bool UnlockedMode();
// Switches between locked and unlocked and writes the new b to the settings
// file at once; returns the new b (1 unlocked, 0 locked). The shell changes
// the frame to match.
int32_t ToggleLock();
// The window alpha for an opacity in percent: the low 8 bits of t * 255 / 100
// in 32-bit arithmetic, so values outside 0 to 100 wrap instead of clamping
// (101 gives 1, -1 gives 254).
uint8_t AlphaFromPercent(int16_t t);

// The outer size the box is shown at: w and h as stored, except that one
// below 1, which would leave nothing to see or grab, is shown at its first-run
// value. The settings file is not changed for this.
struct BoxSize {
  int w;
  int h;
};
BoxSize ShownBoxSize();

// A rectangle on the screens: its top-left corner and its size.
struct ScreenRect {
  int x;
  int y;
  int w;
  int h;
};
struct BoxPlace {
  int x;
  int y;
};
// The top-left corner the box is shown at, given the work area of every
// screen with the primary's first: x and y as stored when the box there, at
// its shown size, meets one of them; otherwise the first-run place when the
// box there meets the primary's work area, else that area's top-left corner.
// So a box stored off every screen (a screen since unplugged) comes back
// where it can be reached. With no screen known, x and y as stored. The
// settings file is not changed for this: Exit writes where the box is.
BoxPlace ShownBoxPlace(std::span<const ScreenRect> work_areas);
