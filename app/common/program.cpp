#include "app/common/program.h"

#include <string>

#include "actions/capture.h"
#include "build_info.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "settings/settings_file.h"
#include "text/file_system.h"
#include "text/strings.h"

std::string ClassName;
std::string AboutTitleLine;
std::string ReadMeName;
std::string InstalledDocDir;
const char* const kWindowTitle = "Quorlithdropbox";

namespace {

void SetProgramTexts() {
  ClassName = "Quorlith";
  AboutTitleLine = ClassName + " version " QUORLITH_VERSION;
  ReadMeName = "Quorlith.txt";
  InstalledDocDir = QUORLITH_INSTALLED_DOC_FOLDER;
}

}  // namespace

SettingsPlace PrepareProgram() {
  SetProgramTexts();
  // The installed program never keeps its settings in the system's program
  // folder, not even when root runs it: they live in the per-user folder.
  std::string program_folder = AppDir();
  if (program_folder == QUORLITH_INSTALLED_PROGRAM_FOLDER) program_folder.clear();
  // A file beside the program wins: the per-user folder, which costs the
  // start a question to the shell, is only looked up when there is none.
  const bool beside = !program_folder.empty() &&
                      FileExists((program_folder + ClassName + ".ini").c_str()) == 1;
  const SettingsPlace place = PrepareSettingsIn(
      program_folder, beside ? std::string() : platform::UserSettingsFolder(), ClassName);
  CaptureText.clear();
  return place;
}

SettingsPlace PrepareProgramIn(const std::string& program_folder, const std::string& user_folder) {
  SetProgramTexts();
  const SettingsPlace place = PrepareSettingsIn(program_folder, user_folder, ClassName);
  CaptureText.clear();
  return place;
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
  ShowMessage(JoinText(7, "Sorry, Quorlith cannot use its settings file", LineBreak,
                       IniPath.c_str(), LineBreak, reason, LineBreak,
                       "It runs with its first settings and leaves that file as it is."),
              "Quorlith", platform::kBoxOk | platform::kBoxIconWarning);
}
