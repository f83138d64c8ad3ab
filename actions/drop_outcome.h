// What the last drop came to, for the box's feedback: with which mode it ran,
// how many of its files went through, failed or were skipped.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_modes.h"

struct DropOutcome {
  CommandMode mode{};     // the CommandMode the drop ran with, known or not
  int32_t items = 0;      // paths in the drop
  int32_t done = 0;       // captured, copied, moved or deleted (files within folders too)
  int32_t failed = 0;     // reported in a failure box (a folder's in one box for it)
  int32_t skipped = 0;    // an overwrite or merge question answered no, a file kept in a merge
  bool declined = false;  // the confirmation answered no: nothing touched
  bool to_trash = false;  // deletions went to the Recycle Bin / Trash
  bool stopped = false;   // the program ended before the last file
  std::string destination;
  std::string reason;   // why the first file that failed did, in the system's words
  int32_t folders = 0;  // folders made or merged at the destination by copies of folders
  int32_t whole = 0;    // folders moved whole by one rename (their files not counted)
};

// The outcome the running action fills in; reset when a drop begins. Only the
// thread that runs the action writes it, and it is read once it has ended.
DropOutcome& CurrentOutcome();
