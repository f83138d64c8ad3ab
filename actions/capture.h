// The capture action: the dropped paths, each reduced by pathaction, quoted by
// encase and joined by listseparator, replace the clipboard text.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "text/text_arg.h"

// The text of the current drop, empty whenever a drop begins. It grows to fit
// any number of paths of any length, and gives its memory back once the text
// is on the clipboard.
extern std::string CaptureText;

void CapturePaths();
// The text a drop of paths captures under settings: what CapturePaths puts
// on the clipboard for them, and what the settings window shows before a
// drop. CaptureText is as it was afterwards.
std::string CaptureTextFor(const std::vector<std::string>& paths, const Settings& settings);
// Derives the item for one path by pathaction and appends it.
void TransformPath(TextArg path, const Settings& settings = SettingsRecord);
// Applies encase to the item, puts the listseparator in front when
// CaptureText is not empty, and appends it; returns CaptureText.
const std::string& AppendCapture(const char* item, const Settings& settings = SettingsRecord);
// Puts the whole text on the clipboard; when the clipboard cannot be had the
// user is told in a message box, with the system's reason. True when the
// text is on the clipboard.
bool CopyTextToClipboard(const std::string& text);
