#include "app/common/box_lock.h"

#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_record.h"

bool UnlockedMode() { return SettingsRecord.b == 1; }

int32_t ToggleLock() {
  SettingsRecord.b = UnlockedMode() ? 0 : 1;
  // A failed write goes unnoticed: the box still switches, and the next start
  // uses the old value.
  WriteIniNumber(IniPath, kSectionCoordinates, "b", SettingsRecord.b);
  return SettingsRecord.b;
}

bool RightReleaseOpensMenu(bool client_area) { return !client_area || SettingsRecord.m == 1; }
