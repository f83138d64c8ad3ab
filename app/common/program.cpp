#include "app/common/program.h"

#include <chrono>
#include <string>

#include "actions/capture.h"
#include "app/common/start_paths.h"
#include "build_info.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "text/file_system.h"
#include "text/strings.h"

std::string ClassName;
std::string AboutTitleLine;
std::string ReadMeName;
std::string InstalledDocDir;
const char* const kWindowTitle = "Quorlithdropbox";
std::unique_ptr<platform::InstanceClaim> SettingsClaim;
int EarlyExitCode = 0;

namespace {

// Holds the settings file at path for this run; false when another box runs
// over it, which has then been handed the request, or when the request is a
// close, which a box that does not run needs no start for.
bool ClaimSettingsFile(const std::string& path, const std::vector<std::string>& paths,
                       platform::RequestKind kind) {
  EarlyExitCode = 0;
  platform::InstanceRequest request = platform::RequestFromHere(paths);
  request.kind = kind;
  const std::string key = platform::InstanceKey(path);
  bool taken = false;
  SettingsClaim = platform::ClaimInstance(key, request, &taken);
  if (kind != platform::RequestKind::kClose) return SettingsClaim != nullptr;
  if (SettingsClaim == nullptr) {
    // Whoever asked for the close (an uninstaller, say) goes on once the box
    // has ended, not while it still runs from its folder.
    const bool ended =
        taken && platform::AwaitInstanceEnd(key, std::chrono::seconds(kCloseWaitSeconds));
    EarlyExitCode = ended ? 0 : 1;
  }
  SettingsClaim.reset();
  return false;
}

void SetProgramTexts() {
  ClassName = "Quorlith";
  AboutTitleLine = ClassName + " version " QUORLITH_VERSION;
  ReadMeName = "Quorlith.txt";
  InstalledDocDir = QUORLITH_INSTALLED_DOC_FOLDER;
}

// The program's own folder as a start looks for a settings file there: none
// for the installed program, whose settings never live in the system's
// program folder, not even when root runs it.
std::string ProgramSettingsFolder() {
  std::string program_folder = AppDir();
  if (program_folder == QUORLITH_INSTALLED_PROGRAM_FOLDER) program_folder.clear();
  return program_folder;
}

}  // namespace

bool PrepareProgram(const StartRequest& start) {
  if (!start.settings_file.empty()) {
    SetProgramTexts();
    SettingsClaim.reset();
    const std::string file =
        AbsolutePath(start.settings_file, platform::RequestFromHere({}).working_folder);
    if (!ClaimSettingsFile(file, start.paths, start.kind)) return false;
    PrepareSettingsFile(file);
    CaptureText.clear();
    return true;
  }
  const std::string program_folder = ProgramSettingsFolder();
  // A file beside the program wins: the per-user folder, which costs the
  // start a question to the shell, is only looked up when there is none.
  SetProgramTexts();
  const bool beside =
      !program_folder.empty() && FileExists(program_folder + ClassName + ".ini") == 1;
  return PrepareProgramIn(program_folder, beside ? std::string() : platform::UserSettingsFolder(),
                          start.paths, start.kind);
}

bool PrepareProgramIn(const std::string& program_folder, const std::string& user_folder,
                      const std::vector<std::string>& paths, platform::RequestKind kind) {
  SetProgramTexts();
  SettingsClaim.reset();  // an earlier start in this process lets go first
  const std::string found = FindSettingsFile(program_folder, user_folder, ClassName);
  if (!ClaimSettingsFile(found, paths, kind)) return false;
  PrepareSettingsIn(program_folder, user_folder, ClassName);
  // A first start that could not write beside the program wrote its file in
  // the per-user folder: that is the file later starts will find.
  if (IniPath != found && !ClaimSettingsFile(IniPath, paths, kind)) return false;
  CaptureText.clear();
  return true;
}

std::string SettingsFileToName() {
  const std::string usual =
      FindSettingsFile(ProgramSettingsFolder(), platform::UserSettingsFolder(), ClassName);
  return usual == IniPath ? std::string() : IniPath;
}

void ReportSettingsProblem() {
  const std::string too_large =
      "It is larger than " + std::to_string(platform::kProfileSizeLimit >> 20) + " MiB.";
  const char* reason = nullptr;
  switch (LoadProblem) {
    case SettingsProblem::None:
      return;
    case SettingsProblem::NotAFile:
      reason = "It is not a plain file.";
      break;
    case SettingsProblem::Unreadable:
      reason = "It cannot be read.";
      break;
    case SettingsProblem::TooLarge:
      reason = too_large.c_str();
      break;
  }
  ShowMessage(
      JoinText(7, "Sorry, Quorlith cannot use its settings file", LineBreak, IniPath, LineBreak,
               reason, LineBreak, "It runs with its first settings and leaves that file as it is."),
      "Quorlith", platform::kBoxOk | platform::kBoxIconWarning);
}
