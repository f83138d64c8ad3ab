// The capture action: the dropped paths, each reduced by pathaction, quoted by
// encase and joined by listseparator, replace the clipboard text.
#pragma once

#include <string>

#include "text/text_arg.h"

// The text of the current drop, empty whenever a drop begins. It grows to fit
// any number of paths of any length, and gives its memory back once the text
// is on the clipboard.
extern std::string CaptureText;

void CapturePaths();
// Derives the item for one path by pathaction and appends it.
void TransformPath(TextArg path);
// Applies encase to the item, puts the listseparator in front when
// CaptureText is not empty, and appends it; returns CaptureText.
const std::string& AppendCapture(const char* item);
// Puts the whole text on the clipboard; when the clipboard cannot be had the
// user is told in a message box, with the system's reason. True when the
// text is on the clipboard.
bool CopyTextToClipboard(const std::string& text);
