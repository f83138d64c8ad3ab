// The settings file: where it is, its first-run content, loading it into
// SettingsRecord and saving the drop box's rectangle.
#pragma once

#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_record.h"

// Full path of the settings file in use.
extern std::string IniPath;
// The user's desktop folder as the platform gives it (empty when unknown):
// the destination folders' default.
extern std::string DesktopDir;

// What kept the last LoadSettings from using the settings file.
enum class SettingsProblem {
  None,        // it was read, or it is missing (and so holds no keys)
  NotAFile,    // a folder, a named pipe, a device...
  Unreadable,  // there, but it cannot be read
  TooLarge,    // larger than any settings file the program reads
};
extern SettingsProblem LoadProblem;

// A destination folder as the program keeps it in memory: ending in the
// native separator, which is added when the folder does not end in it.
std::string AsDestination(std::string folder);

// Writes all eighteen keys, in table order, with their first-run values.
void WriteDefaultSettings();
// Reads all eighteen keys from IniPath into SettingsRecord: coordinates keep
// their current value when missing, options return to their defaults; 16-bit
// fields keep the low 16 bits; destinations get a trailing separator.
// The file is read once, and only when it is a regular file of sane size;
// otherwise every key takes its load default, LoadProblem says why, and the
// file is not written again for the rest of the run.
void LoadSettings();
// Puts the first-run values into SettingsRecord without touching any file.
void SetFirstRunValues();

// Writes the drop box's outer rectangle (its top-left corner and size) as x,
// y, w, h to the "Coordinates" section of IniPath. SettingsRecord is not
// changed.
void SaveCoordinates(int x, int y, int w, int h);

// The keys whose values differ between before and after, in file order,
// with their values in after as the file writes them.
std::vector<IniEntry> ChangedSettings(const Settings& before, const Settings& after);
// Writes exactly those keys into IniPath as it is now, in one replacement of
// the file; every other byte stays, and nothing is written when none
// differs. False, with the reason, when the file could not be written: it is
// then as it was.
bool SaveChangedSettings(const Settings& before, const Settings& after, std::string& reason);
