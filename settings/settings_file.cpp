#include "settings/settings_file.h"

#include "platform/profile.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/file_system.h"
#include "text/strings.h"

std::string IniPath;
std::string DesktopDir;
SettingsProblem LoadProblem = SettingsProblem::None;

namespace {

// The low 16 bits, read as a signed number: 70000 gives 4464, 40000 -25536.
int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

// Destinations always end in the native separator in memory; only the
// separator counts, so "D:/a/" on Windows still gets a backslash.
void EndWithSeparator(std::string& folder) {
  const char separator = NativeSeparator();
  if (CompareText(RightText(folder, 1), CharText(separator)) != 0) folder += separator;
}

SettingsProblem ProblemOf(platform::ProfileFileState state) {
  switch (state) {
    case platform::ProfileFileState::kNotAFile:
      return SettingsProblem::NotAFile;
    case platform::ProfileFileState::kUnreadable:
      return SettingsProblem::Unreadable;
    case platform::ProfileFileState::kTooLarge:
      return SettingsProblem::TooLarge;
    default:
      return SettingsProblem::None;
  }
}

}  // namespace

std::string AsDestination(std::string folder) {
  EndWithSeparator(folder);
  return folder;
}

void WriteDefaultSettings() {
  const std::string& file = IniPath;
  for (const SettingsKey& k : SettingsKeys()) {
    if (k.width == KeyWidth::Text) {
      WriteIniText(file, k.section, k.key, DesktopDir);
    } else {
      WriteIniNumber(file, k.section, k.key, k.first_run);
    }
  }
}

void LoadSettings() {
  const std::string& file = IniPath;
  // One look at the file serves all eighteen keys.
  const platform::ProfileSnapshot snapshot(IniPath);
  LoadProblem = ProblemOf(snapshot.state());
  // A file the program cannot read must not be overwritten by one that only
  // holds what the program knows.
  if (LoadProblem != SettingsProblem::None) SpareIniFile(file);
  const bool read = snapshot.state() == platform::ProfileFileState::kUsable;

  Settings& s = SettingsRecord;
  for (const SettingsKey& k : SettingsKeys()) {
    switch (k.width) {
      case KeyWidth::Int16: {
        const int32_t def = k.load_default == LoadDefault::Current ? s.*k.field16 : k.load_constant;
        s.*k.field16 = Low16(read ? ReadIniNumber(file, k.section, k.key, def) : def);
        break;
      }
      case KeyWidth::Int32: {
        const int32_t def = k.load_default == LoadDefault::Current ? s.*k.field32 : k.load_constant;
        s.*k.field32 = read ? ReadIniNumber(file, k.section, k.key, def) : def;
        break;
      }
      case KeyWidth::Text:
        s.*k.text = read ? ReadIniText(file, k.section, k.key, DesktopDir) : DesktopDir;
        break;
    }
  }
  EndWithSeparator(s.CopyDestination);
  EndWithSeparator(s.MoveDestination);
}

void SetFirstRunValues() {
  Settings& s = SettingsRecord;
  for (const SettingsKey& k : SettingsKeys()) {
    switch (k.width) {
      case KeyWidth::Int16:
        s.*k.field16 = Low16(k.first_run);
        break;
      case KeyWidth::Int32:
        s.*k.field32 = k.first_run;
        break;
      case KeyWidth::Text:
        s.*k.text = DesktopDir;
        break;
    }
  }
}

void SaveCoordinates(int x, int y, int w, int h) {
  const std::string& file = IniPath;
  WriteIniNumber(file, kSectionCoordinates, "x", x);
  WriteIniNumber(file, kSectionCoordinates, "y", y);
  WriteIniNumber(file, kSectionCoordinates, "w", w);
  WriteIniNumber(file, kSectionCoordinates, "h", h);
}

std::vector<IniEntry> ChangedSettings(const Settings& before, const Settings& after) {
  std::vector<IniEntry> changed;
  for (const SettingsKey& k : SettingsKeys()) {
    const std::string value = ValueText(after, k);
    if (value != ValueText(before, k)) changed.push_back({k.section, k.key, value});
  }
  return changed;
}

bool SaveChangedSettings(const Settings& before, const Settings& after, std::string& reason) {
  reason.clear();
  const std::vector<IniEntry> changed = ChangedSettings(before, after);
  return changed.empty() || WriteIniTexts(IniPath, changed, reason);
}
