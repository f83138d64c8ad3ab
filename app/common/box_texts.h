// The words the box's tip says.
#pragma once

#include <string>

#include "actions/drop_outcome.h"
#include "actions/progress.h"
#include "settings/settings_record.h"

// What a drop does with these settings, in a few words: "Drop files to copy
// their paths", "Drop files to copy them to D:\Backup", "Drop files to
// delete them (to the Recycle Bin)". The first line of the box's tip, and
// what screen readers say of the box.
std::string ActionText(const Settings& settings);
// The box's name for screen readers; its window title is another.
extern const char* const kAccessibleName;
// Short words for what the box does not take.
extern const char* const kOnlyFilesDropped;
extern const char* const kOnlyFilesPasted;

// After a drop: "3 paths on the clipboard", "Copied 3 files to D:\Backup\",
// "Copied 4,000 files in 12 folders to D:\Backup\", failures and skipped
// files counted.
std::string OutcomeText(const DropOutcome& outcome);
// While work runs: "Copying 312 of 4,000 files: IMG_0311.jpg (8 %)", and
// before it, while dropped folders are counted, "Counting the files to copy:
// 1,200".
std::string ProgressText(const ProgressView& view);
