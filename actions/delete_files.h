// The delete action (CommandMode 4).
#pragma once

#include "text/text_arg.h"

// Deletes every dropped file, into the Recycle Bin / Trash when deletetobin is
// 1 and permanently otherwise, after the confirmation question; each failure
// is reported in its own message box.
void DeleteFiles();
// 1 when the file or folder went to the Recycle Bin / Trash, else 0.
int RecycleFile(TextArg path);
