// The program's identity and the texts and state both shells compute once at
// start-up.
#pragma once

#include <string>

#include "settings/settings_location.h"

// "Quorlith": the window class name and the settings file's base name.
extern std::string ClassName;
// ClassName followed by " version " and the version: the About box's first
// line, and what the Linux program's --version prints.
extern std::string AboutTitleLine;
// "Quorlith.txt", a bare name looked up from the current folder.
extern std::string ReadMeName;
// The installed program's documents folder, with its trailing separator
// ("/usr/share/doc/quorlith/" from the Debian package): the last place Open
// ReadMe File looks. Empty for the Windows program.
extern std::string InstalledDocDir;
// The drop box's title, never visible since the box has no caption.
extern const char* const kWindowTitle;

// The shells' shared start-up steps, in order: the program texts, then the
// settings file found or created and loaded, then an empty capture.
SettingsPlace PrepareProgram();
// The same with the settings folders given (see PrepareSettingsIn): tests
// start the program over a settings file in a folder of their own.
SettingsPlace PrepareProgramIn(const std::string& program_folder, const std::string& user_folder);

// When the last load found the settings file unusable, says so in a message
// box that names the file and the reason; otherwise does nothing. The shells
// call it once the box is shown, and after Reload Settings.
void ReportSettingsProblem();
