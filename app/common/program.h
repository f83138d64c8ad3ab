// The program's identity and the texts and state both shells compute once at
// start-up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/instance.h"

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

// The claim this run holds on its settings file: one box per settings file.
// The shell serves it once its box is shown (DropBox::Requested), so that a
// later start over the same file hands this box its paths, or brings it to
// the front.
extern std::unique_ptr<platform::InstanceClaim> SettingsClaim;

// What this start was asked on its command line.
struct StartRequest {
  std::string settings_file;       // the settings file named (Linux); empty: the usual places
  std::vector<std::string> paths;  // files and folders to handle as a first drop
  // Paths: the paths above. Paste: the files on the clipboard, taken by the
  // box over the same settings file, or by this one. Close: the box over the
  // same settings file ends as by Exit; none starts.
  platform::RequestKind kind = platform::RequestKind::kPaths;
};

// The exit code of a start that ended at once (PrepareProgram answered
// false): 0, or 1 when a close was asked and the box did not end in time.
extern int EarlyExitCode;
// How long a start that asked the box to close waits for it to end: the
// box finishes the file it is copying first.
constexpr int kCloseWaitSeconds = 60;

// The shells' shared start-up steps, in order: the program texts; the claim
// on the settings file this start would use, before anything is written;
// the settings file found or created and loaded; an empty capture. False
// when another box already runs over the same settings file: it has been
// handed this start's paths (or, without paths, asked to come to the front),
// nothing was written, and the shell ends at once with EarlyExitCode. A
// close asked when no box runs ends the same way, with nothing done. Copies
// with settings files of their own run side by side. A box that starts
// handles the paths once it shows (DropBox::Requested).
bool PrepareProgram(const StartRequest& start = {});
// The same with the settings folders given (see PrepareSettingsIn): tests
// start the program over a settings file in a folder of their own.
bool PrepareProgramIn(const std::string& program_folder, const std::string& user_folder,
                      const std::vector<std::string>& paths = {},
                      platform::RequestKind kind = platform::RequestKind::kPaths);

// The settings file a start has to be told in order to use this run's
// (IniPath): none (empty) when a start without one would find it anyway.
std::string SettingsFileToName();

// When the last load found the settings file unusable, says so in a message
// box that names the file and the reason; otherwise does nothing. The shells
// call it once the box is shown, and after Reload Settings.
void ReportSettingsProblem();
