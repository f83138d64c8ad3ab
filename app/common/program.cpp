#include "app/common/program.h"

#include "actions/capture.h"
#include "build_info.h"
#include "platform/known_folders.h"
#include "text/file_system.h"

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
  const SettingsPlace place =
      PrepareSettingsIn(program_folder, platform::UserSettingsFolder(), ClassName);
  CaptureText.clear();
  return place;
}

SettingsPlace PrepareProgramIn(const std::string& program_folder, const std::string& user_folder) {
  SetProgramTexts();
  const SettingsPlace place = PrepareSettingsIn(program_folder, user_folder, ClassName);
  CaptureText.clear();
  return place;
}
