// The settings window's model, the same in both programs: the choices a
// record shows in the window's rows (settings_rows.h) and the record the
// choices make; what a drop would do with them; which keys they change; and
// saving them. A face lays the rows out, one control per row by its kind,
// and tells the form what the user did.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/common/settings_rows.h"
#include "platform/session_start.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"

// Whether each session entry is there, as the system says.
using SessionStates = std::array<bool, 2>;
SessionStates ReadSessionStates();

class SettingsForm {
 public:
  // Shows record and the session entries' states; nothing is changed yet.
  void Load(const Settings& record, const SessionStates& states);

  // kChoice: the names listed (the row's values, then "Other (N)" when the
  // value loaded is none of them), and which one is chosen.
  std::vector<std::string> ChoiceNames(size_t row) const;
  int ChoiceIndex(size_t row) const;
  void Choose(size_t row, int index);
  // kSwitch and kSession.
  bool IsOn(size_t row) const;
  void SetOn(size_t row, bool on);
  // Whether a session entry is chosen.
  bool SessionOn(platform::SessionEntry entry) const { return states_[static_cast<size_t>(entry)]; }
  // kFolder: the folder as shown and edited.
  std::string Folder(size_t row) const;
  void SetFolder(size_t row, const std::string& folder);
  // kPercent: the slider's position (the value, held within its ends) and
  // what its label says ("75 %", or "Other (101)" for a value beyond them).
  // A position that is the one shown changes nothing.
  int32_t Position(size_t row) const;
  std::string PercentText(size_t row) const;
  void SetPercent(size_t row, int32_t percent);

  // The settings as chosen, and as loaded.
  const Settings& Record() const { return record_; }
  const Settings& Loaded() const { return loaded_; }
  // The keys the choices change, with their new values as the file writes
  // them; and the session entries to change.
  std::vector<IniEntry> ChangedKeys() const;
  std::vector<platform::SessionEntry> ChangedEntries() const;
  bool Changed() const { return !ChangedKeys().empty() || !ChangedEntries().empty(); }
  // Why the choices cannot be saved as they are; empty when they can.
  std::string Problem() const;
  // What a drop of two example files would do with the choices, computed by
  // the code a real drop runs.
  std::string Preview() const;
  // The opacity chosen, for the box to show while the slider moves.
  int16_t Opacity() const { return record_.t; }

 private:
  Settings loaded_;
  Settings record_;
  SessionStates loaded_states_{};
  SessionStates states_{};
};

// What OK and Apply came to.
struct FormApplied {
  bool reload = false;  // the settings file changed and was loaded again: apply it to the box
  std::string problem;  // empty when everything chosen was done
};
// Saves the form's choices: the changed keys into the settings file in one
// write, then the changed session entries; the settings file is loaded
// again and the form shows what now holds. Nothing is written when the form
// has a problem or nothing changed; a failure is told in problem and leaves
// the form's choices as they were.
FormApplied ApplyForm(SettingsForm& form);
