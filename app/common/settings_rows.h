// The settings window's rows: every option of the settings file by its
// meaning, in groups, as one table. A face lays them out, one control per
// row by its kind; the form (settings_form.h) keeps what they show.
//
// Adding an option to the window is adding a row to kRows in
// settings_rows.cpp (and, for a new key, its field in SettingsRecord and its
// line in the settings key table).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/session_start.h"

enum class RowKind {
  kChoice,   // one of named values: a drop-down list
  kSwitch,   // on or off: a check box
  kFolder,   // a folder: a text field with a button that browses for one
  kPercent,  // a percentage: a slider
  kSession,  // an entry with the user's session (platform/session_start.h): a check box
};

// A value a choice row offers, and its name in the list.
struct NamedValue {
  int32_t value;
  const char* name;
};

struct FormRow {
  int group;  // index into FormGroups()
  RowKind kind;
  // What the control says, with "&" before its access key; for screen
  // readers it is the control's name, without the "&".
  const char* label;
  const char* key = nullptr;  // the settings key the row sets; none for a session entry
  // kChoice: the values offered, in the order listed.
  std::span<const NamedValue> values = {};
  // kSwitch: the values written for on and off. A value that is neither
  // shows as off, unless on_unless_off, when it shows as on (the meaning
  // the program gives it); it is kept until the user changes the row.
  int32_t on = 1;
  int32_t off = 0;
  bool on_unless_off = false;
  // kPercent: the slider's ends.
  int32_t low = 0;
  int32_t high = 100;
  // kFolder: the label of its button, and the name screen readers hear for it.
  const char* browse = nullptr;
  const char* browse_name = nullptr;
  // kSession: which entry.
  platform::SessionEntry entry = platform::SessionEntry::kStartWithSession;
};

// A label as screen readers say it: without its "&" and final colon.
std::string SpokenName(const char* label);

// A group of rows under its title; the window shows the groups of column 0
// beside those of column 1, each column top to bottom.
struct FormGroup {
  const char* title;
  int column;
};
// The groups, in the order the window shows them.
std::span<const FormGroup> FormGroups();
// Every row, in the order the window shows them (and Tab visits them).
std::span<const FormRow> FormRows();

// The window's title, and its buttons' labels.
extern const char* const kSettingsTitle;
extern const char* const kOkLabel;
extern const char* const kCancelLabel;
extern const char* const kApplyLabel;
extern const char* const kPreviewTitle;
