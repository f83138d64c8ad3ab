#include "app/common/lock_toggle.h"

#include <cstring>

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

uint8_t AlphaFromPercent(int16_t t) {
  const int32_t scaled = static_cast<int32_t>(t) * 255 / 100;
  return static_cast<uint8_t>(scaled & 0xFF);
}

namespace {

int16_t Visible(int16_t stored, const char* key) {
  if (stored >= 1) return stored;
  for (const SettingsKey& k : SettingsKeys()) {
    if (std::strcmp(k.key, key) == 0) return static_cast<int16_t>(k.first_run);
  }
  return stored;
}

}  // namespace

BoxSize ShownBoxSize() {
  return {Visible(SettingsRecord.w, "w"), Visible(SettingsRecord.h, "h")};
}
