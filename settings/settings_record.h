// The program's settings in memory: one field per key of the settings file,
// each named after its key and as wide as the key's value is stored.
#pragma once

#include <cstdint>
#include <string>

struct Settings {
  // Section "Coordinates"
  int16_t x = 0;  // left edge of the drop box (used when it is created)
  int16_t y = 0;  // top edge
  int16_t w = 0;  // outer width
  int16_t h = 0;  // outer height
  int16_t t = 0;  // opacity in percent; alpha = low 8 bits of t * 255 / 100
  int32_t b = 0;  // 1: unlocked (moved by its body, resized by its frame)
  int32_t m = 0;  // 1: a right-click on the locked box opens the menu too
  // Section "Options"
  int16_t CommandMode = 0;    // 1 capture, 2 copy, 3 move, 4 delete
  int16_t pathaction = 0;     // 1-9: which part of each path is captured
  int16_t listseparator = 0;  // 1 line break, 2 blank, 3 comma, 4 bar, 5 tab
  int32_t encase = 0;         // 1: quote each captured path
  int32_t deletetobin = 0;    // 1: delete to the Recycle Bin / Trash
  int32_t confirmdelete = 0;  // 1: ask before deleting
  int32_t confirmcopy = 0;    // 1: ask before copying
  int32_t confirmmove = 0;    // 1: ask before moving
  int32_t overwritefile = 0;  // 0: ask before replacing an existing file
  // Destination folders; in memory they always end in the native separator.
  std::string CopyDestination;
  std::string MoveDestination;
};

// The settings of the running program. All zeros and empty texts before the
// first load.
extern Settings SettingsRecord;
