#include "settings/settings_location.h"

#include "platform/known_folders.h"
#include "platform/profile.h"
#include "settings/settings_file.h"
#include "text/file_system.h"

namespace {

#ifdef _WIN32
constexpr const char* kFolderSeparators = "\\/";
#else
constexpr const char* kFolderSeparators = "/";
#endif

// Writes the first-run file at path; true when it is there afterwards.
bool CreateSettingsFile(const std::string& path) {
  IniPath = path;
  WriteDefaultSettings();
  return FileExists(path) == 1;
}

// The two places a settings file may be, in the order they are tried; empty
// for a folder that is not known.
struct SettingsFiles {
  std::string beside;
  std::string per_user;
};
SettingsFiles SettingsFilesIn(const std::string& program_folder, const std::string& user_folder,
                              const std::string& class_name) {
  const std::string name = class_name + ".ini";
  return {program_folder.empty() ? std::string() : program_folder + name,
          user_folder.empty() ? std::string() : user_folder + name};
}

// A settings file found that holds nothing at all gets the first-run values,
// as a missing one would: a package manager may make it empty to keep its
// place (scoop does, to keep Quorlith.ini across updates).
void FillIfEmpty() {
  if (platform::ProfileFileEmpty(IniPath)) WriteDefaultSettings();
}

// Loads IniPath into SettingsRecord; a file that cannot be used leaves the
// first-run values in memory and is not written again in this run.
void LoadUsable() {
  LoadSettings();
  if (LoadProblem != SettingsProblem::None) {
    // The file is there but cannot be used: the box runs on the first-run
    // values, and the file stays as it is (the load spared it).
    SetFirstRunValues();
    LoadSettings();
  }
}

}  // namespace

std::string FindSettingsFile(const std::string& program_folder, const std::string& user_folder,
                             const std::string& class_name) {
  const SettingsFiles files = SettingsFilesIn(program_folder, user_folder, class_name);
  if (!files.beside.empty() && FileExists(files.beside)) return files.beside;
  if (!files.per_user.empty() && FileExists(files.per_user)) return files.per_user;
  return files.beside.empty() ? files.per_user : files.beside;
}

SettingsPlace PrepareSettingsFile(const std::string& path) {
  DesktopDir = SpecialFolder(kFolderDesktop, 0, nullptr);
  SettingsPlace place = SettingsPlace::Named;
  const size_t cut = path.find_last_of(kFolderSeparators);
  const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  if (FileExists(path) == 1) {
    IniPath = path;
    FillIfEmpty();
  } else if (!((folder.empty() || platform::MakeFolders(folder)) && CreateSettingsFile(path))) {
    IniPath = path;
    SetFirstRunValues();
    place = SettingsPlace::MemoryOnly;
  }
  IniPath = path;
  LoadUsable();
  return place;
}

SettingsPlace PrepareSettings(const std::string& class_name) {
  return PrepareSettingsIn(AppDir(), platform::UserSettingsFolder(), class_name);
}

SettingsPlace PrepareSettingsIn(const std::string& program_folder, const std::string& user_folder,
                                const std::string& class_name) {
  DesktopDir = SpecialFolder(kFolderDesktop, 0, nullptr);

  const auto [beside, per_user] = SettingsFilesIn(program_folder, user_folder, class_name);

  SettingsPlace place = SettingsPlace::MemoryOnly;
  if (!beside.empty() && FileExists(beside)) {
    IniPath = beside;
    place = SettingsPlace::BesideProgram;
    FillIfEmpty();
  } else if (!per_user.empty() && FileExists(per_user)) {
    IniPath = per_user;
    place = SettingsPlace::PerUser;
    FillIfEmpty();
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
  LoadUsable();
  return place;
}
