// Finding the settings file at start-up.
#pragma once

#include <string>

// Where the settings live for this run.
enum class SettingsPlace {
  BesideProgram,  // "Quorlith.ini" in the executable's folder
  PerUser,        // the per-user settings folder
  Named,          // the file named on the command line
  MemoryOnly,     // no file could be written: first-run values in memory
};

// Sets IniPath and DesktopDir, makes sure a settings file exists and loads it:
// the file beside the executable wins when it exists; otherwise a file in the
// per-user folder is used when it exists; otherwise the first-run file is
// written beside the executable, or in the per-user folder when that fails;
// when no file can be written the first-run values are kept in memory. So
// are they when the file found cannot be used (LoadProblem says why); that
// file is then never written in this run. A file found that holds nothing at
// all is given the first-run values, as a missing one would be.
// class_name is the program's name ("Quorlith"), the settings file's base name.
SettingsPlace PrepareSettings(const std::string& class_name);

// The settings file that PrepareSettingsIn would use with these folders,
// found without writing anything: the file beside the executable or in the
// per-user folder when one is there, else the one it would write first.
std::string FindSettingsFile(const std::string& program_folder, const std::string& user_folder,
                             const std::string& class_name);

// The same for the settings file at path, named on the command line: it is
// used when it is there; otherwise the first-run file is written there, its
// missing folders made first; otherwise the first-run values are kept in
// memory.
SettingsPlace PrepareSettingsFile(const std::string& path);

// The same with the two folders given (each with its trailing separator, or
// empty when unknown); PrepareSettings passes AppDir and the platform's
// per-user settings folder.
SettingsPlace PrepareSettingsIn(const std::string& program_folder, const std::string& user_folder,
                                const std::string& class_name);
