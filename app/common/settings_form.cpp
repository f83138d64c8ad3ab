#include "app/common/settings_form.h"

#include <algorithm>
#include <cctype>

#include "actions/capture.h"
#include "app/common/program.h"
#include "platform/failure.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_modes.h"
#include "text/path_parts.h"
#ifndef _WIN32
#include "platform/known_folders.h"
#endif

namespace {

using platform::SessionEntry;

const SettingsKey& KeyOf(size_t row) { return *FindSettingsKey(FormRows()[row].key); }

size_t EntryIndex(SessionEntry entry) { return static_cast<size_t>(entry); }

// The two files a preview drops: one with a space in its name.
std::vector<std::string> ExampleFiles() {
#ifdef _WIN32
  return {"C:\\Work\\report.txt", "D:\\Photos\\holiday 1.jpg"};
#else
  const std::string home = platform::HomeFolder();
  return {home + "/Work/report.txt", home + "/Photos/holiday 1.jpg"};
#endif
}

// Separators that show nothing on a line are named.
std::string Visible(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\t') {
      shown += "[tab]";
    } else if (c == '\r') {
      shown += '\n';
    } else {
      shown += c;
    }
  }
  return shown;
}

// A folder named from a root: "C:\..." or "\\server\..." on Windows,
// "/..." elsewhere. Any other is taken against a current folder, which a
// drop does not have.
bool IsFullPath(const std::string& folder) {
#ifdef _WIN32
  const bool drive = folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) &&
                     folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
  return drive || folder.rfind("\\\\", 0) == 0;
#else
  return !folder.empty() && folder[0] == '/';
#endif
}

// A value the row does not name, as it shows.
std::string OtherValue(int32_t value) {
  return std::string("Other (") + std::to_string(value) + ")";
}

std::string AskedOrNot(int32_t confirm) {
  return confirm == 1 ? " and asks first." : " without asking.";
}

}  // namespace

SessionStates ReadSessionStates() {
  SessionStates states{};
  for (const SessionEntry entry : {SessionEntry::kStartWithSession, SessionEntry::kSendTo}) {
    states[EntryIndex(entry)] =
        platform::SessionEntryKnown(entry) && platform::HasSessionEntry(entry);
  }
  return states;
}

void SettingsForm::Load(const Settings& record, const SessionStates& states) {
  loaded_ = record;
  record_ = record;
  loaded_states_ = states;
  states_ = states;
}

std::vector<std::string> SettingsForm::ChoiceNames(size_t row) const {
  std::vector<std::string> names;
  const std::span<const NamedValue> values = FormRows()[row].values;
  for (const NamedValue& v : values) names.emplace_back(v.name);
  const int32_t loaded = NumberOf(loaded_, KeyOf(row));
  if (std::none_of(values.begin(), values.end(),
                   [loaded](const NamedValue& v) { return v.value == loaded; })) {
    names.push_back(OtherValue(loaded));
  }
  return names;
}

int SettingsForm::ChoiceIndex(size_t row) const {
  const std::span<const NamedValue> values = FormRows()[row].values;
  const int32_t value = NumberOf(record_, KeyOf(row));
  const auto found = std::find_if(values.begin(), values.end(),
                                  [value](const NamedValue& v) { return v.value == value; });
  return static_cast<int>(found - values.begin());
}

void SettingsForm::Choose(size_t row, int index) {
  const std::span<const NamedValue> values = FormRows()[row].values;
  if (index < 0) return;
  // The value shown as "Other" is the one loaded: choosing it again keeps it.
  const int32_t value = static_cast<size_t>(index) < values.size()
                            ? values[static_cast<size_t>(index)].value
                            : NumberOf(loaded_, KeyOf(row));
  SetNumber(record_, KeyOf(row), value);
}

bool SettingsForm::IsOn(size_t row) const {
  const FormRow& r = FormRows()[row];
  if (r.kind == RowKind::kSession) return states_[EntryIndex(r.entry)];
  const int32_t value = NumberOf(record_, KeyOf(row));
  return r.on_unless_off ? value != r.off : value == r.on;
}

void SettingsForm::SetOn(size_t row, bool on) {
  const FormRow& r = FormRows()[row];
  if (r.kind == RowKind::kSession) {
    states_[EntryIndex(r.entry)] = on;
    return;
  }
  // Back to how it was loaded: the loaded value stays, whatever it was.
  const int32_t loaded = NumberOf(loaded_, KeyOf(row));
  const bool loaded_on = r.on_unless_off ? loaded != r.off : loaded == r.on;
  SetNumber(record_, KeyOf(row), on == loaded_on ? loaded : (on ? r.on : r.off));
}

std::string SettingsForm::Folder(size_t row) const { return record_.*KeyOf(row).text; }

void SettingsForm::SetFolder(size_t row, const std::string& folder) {
  const std::string& loaded = loaded_.*KeyOf(row).text;
  // The same folder with or without its final separator is no change.
  record_.*KeyOf(row).text = AsDestination(folder) == AsDestination(loaded) ? loaded : folder;
}

int32_t SettingsForm::Position(size_t row) const {
  return std::clamp(NumberOf(record_, KeyOf(row)), FormRows()[row].low, FormRows()[row].high);
}

std::string SettingsForm::PercentText(size_t row) const {
  const int32_t value = NumberOf(record_, KeyOf(row));
  if (value != Position(row)) return OtherValue(value);
  return std::to_string(value) + " %";
}

void SettingsForm::SetPercent(size_t row, int32_t percent) {
  // A slider left where a value beyond its ends shows keeps that value.
  if (percent != Position(row)) SetNumber(record_, KeyOf(row), percent);
}

std::vector<IniEntry> SettingsForm::ChangedKeys() const {
  return ChangedSettings(loaded_, record_);
}

std::vector<platform::SessionEntry> SettingsForm::ChangedEntries() const {
  std::vector<SessionEntry> changed;
  for (const FormRow& r : FormRows()) {
    const size_t i = EntryIndex(r.entry);
    if (r.kind == RowKind::kSession && states_[i] != loaded_states_[i]) changed.push_back(r.entry);
  }
  return changed;
}

std::string SettingsForm::Problem() const {
  for (size_t row = 0; row < FormRows().size(); ++row) {
    if (FormRows()[row].kind != RowKind::kFolder) continue;
    const std::string& folder = record_.*KeyOf(row).text;
    if (folder == loaded_.*KeyOf(row).text) continue;  // as the file has it: not written
    const std::string name = std::string("\"") + SpokenName(FormRows()[row].label) + "\"";
    if (folder.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      return name + " holds a line break.";
    }
    if (!IsFullPath(folder)) return name + " needs the full path of a folder.";
  }
  return {};
}

std::string SettingsForm::Preview() const {
  const std::vector<std::string> files = ExampleFiles();
  const std::string drop = std::string("A drop of ") + std::string(PathNameExtension(files[0])) +
                           " and " + PathNameExtension(files[1]);
  const Settings& s = record_;
  switch (CommandModeOf(s)) {
    case CommandMode::kCapture: {
      // The example files are not there, so they have no short form to show.
      if (PathActionOf(s) == PathAction::kShortPath) {
        return drop + " puts the short 8.3 form of each path on the clipboard.";
      }
      const std::string text = CaptureTextFor(files, s);
      if (text.empty()) return drop + " puts an empty text on the clipboard.";
      return drop + " puts this on the clipboard:\n" + Visible(text);
    }
    case CommandMode::kCopy:
    case CommandMode::kMove: {
      const bool moving = CommandModeOf(s) == CommandMode::kMove;
      const std::string folder = AsDestination(moving ? s.MoveDestination : s.CopyDestination);
      return drop + (moving ? " moves them to " : " copies them to ") + folder +
             AskedOrNot(moving ? s.confirmmove : s.confirmcopy) +
             (s.overwritefile == 0
                  ? "\nA file of the same name there is replaced only if you say so."
                  : "\nA file of the same name there is replaced without asking.");
    }
    case CommandMode::kDelete:
#ifdef _WIN32
      return drop +
             (s.deletetobin == 1 ? " moves them to the Recycle Bin" : " deletes them for good") +
             AskedOrNot(s.confirmdelete);
#else
      return drop + (s.deletetobin == 1 ? " moves them to the Trash" : " deletes them for good") +
             AskedOrNot(s.confirmdelete);
#endif
  }
  return drop + " does nothing: there is no CommandMode " + std::to_string(s.CommandMode) + ".";
}

FormApplied ApplyForm(SettingsForm& form) {
  FormApplied applied;
  applied.problem = form.Problem();
  if (!applied.problem.empty()) return applied;
  std::string reason;
  if (!SaveChangedSettings(form.Loaded(), form.Record(), reason)) {
    applied.problem = std::string("The settings could not be saved in ") + IniPath + ".\n" + reason;
    return applied;
  }
  applied.reload = !form.ChangedKeys().empty();
  for (const SessionEntry entry : form.ChangedEntries()) {
    const bool on = form.SessionOn(entry);
    if (!platform::SetSessionEntry(entry, on, SettingsFileToName())) {
      applied.problem = std::string(on ? "Quorlith could not add " : "Quorlith could not remove ") +
                        platform::SessionEntryPlace(entry) + ".\n" + platform::LastFailure();
      break;
    }
  }
  // What now holds: the file as loaded again, the entries as the system has
  // them (one that failed shows as it is).
  if (applied.reload) LoadSettings();
  if (applied.problem.empty() || applied.reload) form.Load(SettingsRecord, ReadSessionStates());
  return applied;
}
