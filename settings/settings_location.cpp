#include "settings/settings_location.h"

#include "platform/known_folders.h"
#include "settings/settings_file.h"
#include "text/file_system.h"

namespace {

// Writes the first-run file at path; true when it is there afterwards.
bool CreateSettingsFile(const std::string& path) {
  IniPath = path;
  WriteDefaultSettings();
  return FileExists(path) == 1;
}

}  // namespace

SettingsPlace PrepareSettings(const std::string& class_name) {
  return PrepareSettingsIn(AppDir(), platform::UserSettingsFolder(), class_name);
}

SettingsPlace PrepareSettingsIn(const std::string& program_folder,
                                const std::string& user_folder,
                                const std::string& class_name) {
  DesktopDir = SpecialFolder(kFolderDesktop, 0, nullptr);

  const std::string beside =
      program_folder.empty() ? std::string() : program_folder + class_name + ".ini";
  const std::string per_user = user_folder.empty() ? std::string() : user_folder + class_name + ".ini";

  SettingsPlace place = SettingsPlace::MemoryOnly;
  if (!beside.empty() && FileExists(beside)) {
    IniPath = beside;
    place = SettingsPlace::BesideProgram;
  } else if (!per_user.empty() && FileExists(per_user)) {
    IniPath = per_user;
    place = SettingsPlace::PerUser;
  } else if (!beside.empty() && CreateSettingsFile(beside)) {
    place = SettingsPlace::BesideProgram;
  } else if (!per_user.empty() && platform::MakeFolders(user_folder) &&
             CreateSettingsFile(per_user)) {
    place = SettingsPlace::PerUser;
  }

  if (place == SettingsPlace::MemoryOnly) {
    // A read-only program folder and no per-user folder either: the box still
    // comes up with the first-run values; writes later go nowhere.
    IniPath = beside.empty() ? per_user : beside;
    SetFirstRunValues();
  }
  LoadSettings();
  if (LoadProblem != SettingsProblem::None) {
    // The file is there but cannot be used: the box runs on the first-run
    // values, and the file stays as it is (the load spared it).
    SetFirstRunValues();
    LoadSettings();
  }
  return place;
}
