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

int FirstRun(const char* key) {
  for (const SettingsKey& k : SettingsKeys()) {
    if (std::strcmp(k.key, key) == 0) return k.first_run;
  }
  return 0;
}

int16_t Visible(int16_t stored, const char* key) {
  return stored >= 1 ? stored : static_cast<int16_t>(FirstRun(key));
}

// True when the box at place, of size, shares at least one pixel with area.
bool Meets(const ScreenRect& area, BoxPlace place, BoxSize size) {
  return place.x < area.x + area.w && area.x < place.x + size.w && place.y < area.y + area.h &&
         area.y < place.y + size.h;
}

}  // namespace

BoxSize ShownBoxSize() { return {Visible(SettingsRecord.w, "w"), Visible(SettingsRecord.h, "h")}; }

BoxPlace ShownBoxPlace(std::span<const ScreenRect> work_areas) {
  const BoxSize size = ShownBoxSize();
  const BoxPlace stored{SettingsRecord.x, SettingsRecord.y};
  if (work_areas.empty()) return stored;
  for (const ScreenRect& area : work_areas) {
    if (Meets(area, stored, size)) return stored;
  }
  const ScreenRect& primary = work_areas.front();
  const BoxPlace first_run{FirstRun("x"), FirstRun("y")};
  if (Meets(primary, first_run, size)) return first_run;
  return {primary.x, primary.y};
}
