#include "settings/settings_keys.h"

#include <array>
#include <cstring>

#include "settings/ini_file.h"

const char* const kSectionCoordinates = "Coordinates";

namespace {

constexpr SettingsKey Int16Key(const char* section, const char* key, int32_t first_run,
                               LoadDefault load_default, int32_t load_constant,
                               int16_t Settings::*field) {
  return {section,       key,   KeyWidth::Int16, first_run, load_default,
          load_constant, field, nullptr,         nullptr};
}

constexpr SettingsKey Int32Key(const char* section, const char* key, int32_t first_run,
                               LoadDefault load_default, int32_t load_constant,
                               int32_t Settings::*field) {
  return {section,       key,     KeyWidth::Int32, first_run, load_default,
          load_constant, nullptr, field,           nullptr};
}

constexpr SettingsKey TextKey(const char* section, const char* key, std::string Settings::*field) {
  return {section, key, KeyWidth::Text, 0, LoadDefault::Desktop, 0, nullptr, nullptr, field};
}

constexpr auto C = LoadDefault::Current;
constexpr auto K = LoadDefault::Constant;

// In file order. Coordinates keep their current value when a key is missing;
// options return to a constant.
const std::array<SettingsKey, 18> kKeys = {{
    Int16Key("Coordinates", "x", 244, C, 0, &Settings::x),
    Int16Key("Coordinates", "y", 200, C, 0, &Settings::y),
    Int16Key("Coordinates", "w", 75, C, 0, &Settings::w),
    Int16Key("Coordinates", "h", 75, C, 0, &Settings::h),
    Int16Key("Coordinates", "t", 75, C, 0, &Settings::t),
    Int32Key("Coordinates", "b", 1, C, 0, &Settings::b),
    Int32Key("Coordinates", "m", 1, C, 0, &Settings::m),
    Int16Key("Options", "CommandMode", 1, K, 1, &Settings::CommandMode),
    Int16Key("Options", "pathaction", 1, K, 1, &Settings::pathaction),
    Int16Key("Options", "listseparator", 1, K, 1, &Settings::listseparator),
    Int32Key("Options", "encase", 0, K, 0, &Settings::encase),
    Int32Key("Options", "deletetobin", 1, K, 1, &Settings::deletetobin),
    Int32Key("Options", "confirmdelete", 1, K, 1, &Settings::confirmdelete),
    Int32Key("Options", "confirmcopy", 1, K, 1, &Settings::confirmcopy),
    Int32Key("Options", "confirmmove", 1, K, 1, &Settings::confirmmove),
    Int32Key("Options", "overwritefile", 0, K, 0, &Settings::overwritefile),
    TextKey("Options", "CopyDestination", &Settings::CopyDestination),
    TextKey("Options", "MoveDestination", &Settings::MoveDestination),
}};

}  // namespace

std::span<const SettingsKey> SettingsKeys() { return kKeys; }

int32_t FirstRunValue(const char* key) {
  for (const SettingsKey& k : SettingsKeys()) {
    if (std::strcmp(k.key, key) == 0) return k.first_run;
  }
  return 0;
}

const SettingsKey* FindSettingsKey(std::string_view key) {
  for (const SettingsKey& k : SettingsKeys()) {
    if (key == k.key) return &k;
  }
  return nullptr;
}

int32_t NumberOf(const Settings& s, const SettingsKey& k) {
  switch (k.width) {
    case KeyWidth::Int16:
      return s.*k.field16;
    case KeyWidth::Int32:
      return s.*k.field32;
    case KeyWidth::Text:
      break;
  }
  return 0;
}

void SetNumber(Settings& s, const SettingsKey& k, int32_t value) {
  if (k.width == KeyWidth::Int16) s.*k.field16 = static_cast<int16_t>(static_cast<uint16_t>(value));
  if (k.width == KeyWidth::Int32) s.*k.field32 = value;
}

std::string ValueText(const Settings& s, const SettingsKey& k) {
  return k.width == KeyWidth::Text ? s.*k.text : IniNumberText(NumberOf(s, k));
}
