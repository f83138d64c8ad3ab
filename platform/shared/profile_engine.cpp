// The profile functions over the project's own INI engine, on every
// platform: a load reads the file once, a write changes nothing but its own
// value and replaces the file in one step, so no reader, crash or full disk
// ever leaves a half-written settings file behind.
#include <algorithm>
#include <optional>
#include <string>

#include "platform/failure.h"
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

// Why a file that is there cannot be written as a settings file.
std::string UnusableReason(ProfileFileState state) {
  switch (state) {
    case ProfileFileState::kNotAFile:
      return "It is not a plain file.";
    case ProfileFileState::kTooLarge:
      return "It is larger than any settings file.";
    default:
      return "It cannot be read.";
  }
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
  std::string reason;
  return ProfileWriteTexts(file, {{section, key, value}}, reason);
}

bool ProfileWriteTexts(const std::string& file, const std::vector<ProfileEntry>& entries,
                       std::string& reason) {
  ReleaseHeld();
  reason.clear();
  // A value with a line break would damage the file; refuse it untouched.
  for (const ProfileEntry& e : entries) {
    if (!ini::CanStore(e.section, e.key, e.value)) {
      reason = "The value of " + e.key + " cannot be kept in a settings file.";
      return false;
    }
  }
  const settings_io::Contents old = settings_io::Read(file);
  // A file that cannot be read must not be replaced by what little we know.
  const bool missing = old.state == ProfileFileState::kMissing;
  if (old.state != ProfileFileState::kUsable && !missing) {
    reason = UnusableReason(old.state);
    return false;
  }
  // A key that reads as its new value already keeps its line as it is.
  std::string updated = old.text;
  for (const ProfileEntry& e : entries) {
    const std::optional<std::string> now = ini::FindValue(updated, e.section, e.key);
    if (now && settings_io::ValueText(*now, old) == e.value) continue;
    updated = ini::SetValue(updated, e.section, e.key, e.value, settings_io::kLineEnd);
  }
  if (missing || updated != old.text) {
    ClearFailure();
    if (!settings_io::Replace(file, updated, old)) {
      reason = LastFailure();
      if (reason.empty()) reason = "It could not be written.";
      return false;
    }
  }
  // Read back: what a later load will find.
  const settings_io::Contents now = settings_io::Read(file);
  for (const ProfileEntry& e : entries) {
    const std::optional<std::string> stored = now.state == ProfileFileState::kUsable
                                                  ? ini::FindValue(now.text, e.section, e.key)
                                                  : std::nullopt;
    if (!stored || settings_io::ValueText(*stored, now) != e.value) {
      reason = "It does not hold the new value of " + e.key + " afterwards.";
      return false;
    }
  }
  return true;
}

bool ProfileFileEmpty(const std::string& file) {
  const settings_io::Contents contents = settings_io::Read(file);
  return contents.state == ProfileFileState::kUsable && contents.text.empty();
}

}  // namespace platform
