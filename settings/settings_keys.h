// The one table of the settings file: every key with its section, the value
// written at the first start, the value a load takes when the key is missing,
// and the width it is stored with.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

enum class KeyWidth { Int16, Int32, Text };

// Where a load takes a missing key's value from.
enum class LoadDefault {
  Current,   // the field's value before the load
  Constant,  // the table's constant
  Desktop,   // DesktopDir
};

struct SettingsKey {
  const char* section;
  const char* key;
  KeyWidth width;
  int32_t first_run;  // numbers only; destinations start as DesktopDir
  LoadDefault load_default;
  int32_t load_constant;  // when load_default is Constant
  int16_t Settings::*field16;
  int32_t Settings::*field32;
  std::string Settings::*text;
};

extern const char* const kSectionCoordinates;  // "Coordinates"

// The eighteen keys in file order: the order of the first write and of every
// load.
std::span<const SettingsKey> SettingsKeys();
// The value a number key is written with at the first start; 0 for any other.
int32_t FirstRunValue(const char* key);

// The key of this name (as the table spells it); null when there is none.
const SettingsKey* FindSettingsKey(std::string_view key);
// A number key's value in s, widened with its sign; 0 for a text key.
int32_t NumberOf(const Settings& s, const SettingsKey& k);
// Sets a number key's field; a 16-bit one keeps the low 16 bits.
void SetNumber(Settings& s, const SettingsKey& k, int32_t value);
// The key's value in s as the settings file writes it.
std::string ValueText(const Settings& s, const SettingsKey& k);
