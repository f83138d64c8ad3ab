// The system clipboard: plain text out, the files a file manager copied in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Replaces the clipboard content with text. Waits a short, bounded time when
// another program holds the clipboard; false when it could not be had.
bool PutClipboardText(const std::string& text);

// Tests capture the clipboard: while a handler is set, the text goes to it and
// its result is returned. An empty handler restores the real clipboard.
using ClipboardHandler = std::function<bool(const std::string& text)>;
void SetClipboardHandler(ClipboardHandler handler);

// Files and folders copied (or cut) in a file manager: full paths in UTF-8,
// each whole, in the clipboard's order.
struct ClipboardFiles {
  std::vector<std::string> paths;
  bool cut = false;  // the file manager cut them rather than copied them
};

// The files on the clipboard: Windows' CF_HDROP (cut when its "Preferred
// DropEffect" says move); on Linux x-special/gnome-copied-files, else
// text/uri-list (cut when application/x-kde-cutselection says so), local
// files only, percent-escapes decoded. Nothing when the clipboard holds
// anything else (text, an image, only web links) or cannot be had.
std::optional<ClipboardFiles> ReadClipboardFiles();

// Tests script what the clipboard holds: while a handler is set, its answer
// is ReadClipboardFiles'. An empty handler restores the real clipboard.
using ClipboardFilesHandler = std::function<std::optional<ClipboardFiles>()>;
void SetClipboardFilesHandler(ClipboardFilesHandler handler);

}  // namespace platform
