#include "app/common/box_opacity.h"

#include "settings/settings_keys.h"
#include "settings/settings_record.h"

uint8_t AlphaFromPercent(int16_t t) {
  const int32_t scaled = static_cast<int32_t>(t) * 255 / 100;
  return static_cast<uint8_t>(scaled & 0xFF);
}

uint8_t ShownAlpha() { return ShownAlphaFor(SettingsRecord.t); }

uint8_t ShownAlphaFor(int16_t t) {
  const uint8_t alpha = AlphaFromPercent(t);
  return alpha != 0 ? alpha : AlphaFromPercent(static_cast<int16_t>(FirstRunValue("t")));
}
