// The profile functions over the project's own INI engine, on every
// platform: a load reads the file once, a write changes nothing but its own
// value and replaces the file in one step, so no reader, crash or full disk
// ever leaves a half-written settings file behind.
#include <algorithm>
#include <optional>
#include <string>

#include "platform/profile.h"
#include "platform/shared/ini_document.h"
#include "platform/shared/settings_file_io.h"

namespace platform {

namespace {

// The document a ProfileSnapshot holds: one snapshot at a time.
struct HeldDocument {
  bool active = false;
  std::string path;
  settings_io::Contents contents;
};

HeldDocument& Held() {
  static HeldDocument held;
  return held;
}

void ReleaseHeld() {
  HeldDocument& held = Held();
  held.active = false;
  held.contents = {};
}

// The value of a key, from the held document when it is this file's, else
// from a fresh read. A file that cannot be used holds no keys.
std::optional<std::string> FindInFile(const std::string& path, const std::string& section,
                                      const std::string& key) {
  const HeldDocument& held = Held();
  settings_io::Contents fresh;
  const settings_io::Contents* contents = &held.contents;
  if (!held.active || held.path != path) {
    fresh = settings_io::Read(path);
    contents = &fresh;
  }
  if (contents->state != ProfileFileState::kUsable) return std::nullopt;
  std::optional<std::string> value = ini::FindValue(contents->text, section, key);
  if (value) *value = settings_io::ValueText(std::move(*value), *contents);
  return value;
}

std::string Cut(std::string text, int max_chars) {
  text.resize(std::min(text.size(), static_cast<size_t>(std::max(max_chars, 0))));
  return text;
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
  HeldDocument& held = Held();
  held.path = file;
  held.contents = settings_io::Read(file);
  held.active = true;
  state_ = held.contents.state;
}

ProfileSnapshot::~ProfileSnapshot() { ReleaseHeld(); }

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  if (std::optional<std::string> value = FindInFile(file, section, key)) {
    return Cut(*value, max_chars);
  }
  // As GetPrivateProfileString does, the default loses its trailing spaces.
  return Cut(def.substr(0, def.find_last_not_of(' ') + 1), max_chars);
}

int ProfileReadNumber(const std::string& file, const std::string& section, const std::string& key,
                      int def) {
  const std::optional<std::string> value = FindInFile(file, section, key);
  return value ? ini::ParseNumber(*value, def) : def;
}

bool ProfileWriteText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) {
  ReleaseHeld();
  // A value with a line break would damage the file; refuse it untouched.
  if (!ini::CanStore(section, key, value)) return false;
  const settings_io::Contents old = settings_io::Read(file);
  // A file that cannot be read must not be replaced by what little we know.
  const bool missing = old.state == ProfileFileState::kMissing;
  if (old.state != ProfileFileState::kUsable && !missing) return false;
  const std::string updated = ini::SetValue(old.text, section, key, value, settings_io::kLineEnd);
  if (missing || updated != old.text) {
    if (!settings_io::Replace(file, updated, old)) return false;
  }
  const std::optional<std::string> stored = FindInFile(file, section, key);
  return stored && *stored == value;
}

bool ProfileFileEmpty(const std::string& file) {
  const settings_io::Contents contents = settings_io::Read(file);
  return contents.state == ProfileFileState::kUsable && contents.text.empty();
}

}  // namespace platform
