// The words the box's tip says.
#pragma once

#include <string>

#include "actions/drop_outcome.h"
#include "actions/progress.h"

// After a drop: "3 paths on the clipboard", "Copied 3 files to D:\Backup\",
// failures and skipped files counted.
std::string OutcomeText(const DropOutcome& outcome);
// While work runs: "Copying 3 of 10: holiday.jpg (45 %)".
std::string ProgressText(const ProgressView& view);
