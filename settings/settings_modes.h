// The numbered choices of the settings file as the code uses them: views of
// the numbers SettingsRecord keeps. A number that names no choice stays as
// it is, so that what reports it can show the stored value.
#pragma once

#include <cstdint>

#include "settings/settings_record.h"

// What a drop does.
enum class CommandMode : int16_t {
  kCapture = 1,  // the paths to the clipboard
  kCopy = 2,     // the files into CopyDestination
  kMove = 3,     // the files into MoveDestination
  kDelete = 4,   // to the Recycle Bin / Trash, or for good
};
inline CommandMode CommandModeOf(const Settings& s) { return CommandMode{s.CommandMode}; }
inline bool IsKnown(CommandMode mode) {
  return mode >= CommandMode::kCapture && mode <= CommandMode::kDelete;
}
// The stored number, for the report of a mode that names no action.
inline int16_t StoredNumber(CommandMode mode) { return static_cast<int16_t>(mode); }

// Which part of each path a capture keeps; any other number keeps the whole.
enum class PathAction : int16_t {
  kFullPath = 1,        // C:\Work\Docs\report.final.txt
  kNameExtension = 2,   // report.final.txt
  kName = 3,            // report.final
  kExtension = 4,       // .txt
  kExtensionNoDot = 5,  // txt
  kFolder = 6,          // \Work\Docs\ (without the drive)
  kDriveFolder = 7,     // C:\Work\Docs\ (with it)
  kDrive = 8,           // C:
  kShortPath = 9,       // the short 8.3 form
};
inline PathAction PathActionOf(const Settings& s) { return PathAction{s.pathaction}; }
