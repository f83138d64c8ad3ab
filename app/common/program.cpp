#include "app/common/program.h"

#include "actions/capture.h"

std::string ClassName;
std::string AboutTitleLine;
std::string ReadMeName;
const char* const kWindowTitle = "Quorlithdropbox";

namespace {

void SetProgramTexts() {
  ClassName = "Quorlith";
  AboutTitleLine = ClassName + " version 1.1";
  ReadMeName = "Quorlith.txt";
}

}  // namespace

SettingsPlace PrepareProgram() {
  SetProgramTexts();
  const SettingsPlace place = PrepareSettings(ClassName);
  CaptureText.clear();
  return place;
}

SettingsPlace PrepareProgramIn(const std::string& program_folder, const std::string& user_folder) {
  SetProgramTexts();
  const SettingsPlace place = PrepareSettingsIn(program_folder, user_folder, ClassName);
  CaptureText.clear();
  return place;
}
