#include "app/common/box_texts.h"

#ifndef _WIN32
#include "platform/known_folders.h"
#endif
#include "settings/settings_modes.h"

const char* const kAccessibleName = "Quorlith drop box";
const char* const kOnlyFilesDropped = "Only files and folders can be dropped";
const char* const kOnlyFilesPasted = "Only copied files can be pasted";

namespace {

// A destination folder as people write it: without its final separator
// (but for a root), and on Linux the home folder as "~".
std::string FolderName(std::string folder) {
  if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\') &&
      !(folder.size() == 3 && folder[1] == ':')) {
    folder.pop_back();
  }
#ifndef _WIN32
  const std::string home = platform::HomeFolder();
  if (home.size() > 1 && folder.compare(0, home.size(), home) == 0 &&
      (folder.size() == home.size() || folder[home.size()] == '/')) {
    folder = "~" + folder.substr(home.size());
  }
#endif
  return folder;
}

// 4000 -> "4,000".
std::string Grouped(int32_t count) {
  const std::string digits = std::to_string(count < 0 ? -int64_t{count} : int64_t{count});
  std::string text;
  if (count < 0) text.push_back('-');
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
    text.push_back(digits[i]);
  }
  return text;
}

std::string Files(int32_t count) { return Grouped(count) + (count == 1 ? " file" : " files"); }
std::string Folders(int32_t count) {
  return Grouped(count) + (count == 1 ? " folder" : " folders");
}

// What a copy or a move came to: "4,000 files in 12 folders", "1 folder"
// moved whole by a rename, or both.
std::string Copied(const DropOutcome& outcome) {
  std::string text = Files(outcome.done);
  if (outcome.folders > 0) text += " in " + Folders(outcome.folders);
  if (outcome.whole == 0) return text;
  if (outcome.done == 0 && outcome.folders == 0) return Folders(outcome.whole);
  return text + " and " + Folders(outcome.whole);
}

const char* TrashName() {
#ifdef _WIN32
  return "the Recycle Bin";
#else
  return "the Trash";
#endif
}

// ", 1 failed, 2 skipped" as far as there are any.
std::string Troubles(const DropOutcome& outcome) {
  std::string text;
  if (outcome.failed > 0) {
    text += ", " + Grouped(outcome.failed) + " failed";
    if (!outcome.reason.empty()) text += " (" + outcome.reason + ")";
  }
  if (outcome.skipped > 0) text += ", " + Grouped(outcome.skipped) + " skipped";
  if (outcome.stopped) text += ", stopped";
  return text;
}

}  // namespace

std::string OutcomeText(const DropOutcome& outcome) {
  const std::string done = Files(outcome.done);
  switch (outcome.mode) {
    case CommandMode::kCapture: {
      const int32_t paths = outcome.done + outcome.failed;
      const std::string count = std::to_string(paths) + (paths == 1 ? " path" : " paths");
      return outcome.failed > 0 ? "Could not put " + count + " on the clipboard"
                                : count + " on the clipboard";
    }
    case CommandMode::kCopy:
      if (outcome.declined) return "Nothing copied";
      return "Copied " + Copied(outcome) + " to " + outcome.destination + Troubles(outcome);
    case CommandMode::kMove:
      if (outcome.declined) return "Nothing moved";
      return "Moved " + Copied(outcome) + " to " + outcome.destination + Troubles(outcome);
    case CommandMode::kDelete:
      if (outcome.declined) return "Nothing deleted";
      if (outcome.to_trash) return "Moved " + done + " to " + TrashName() + Troubles(outcome);
      return "Deleted " + done + Troubles(outcome);
  }
  return "Nothing done: there is no CommandMode " + std::to_string(StoredNumber(outcome.mode));
}

std::string ProgressText(const ProgressView& view) {
  const bool moving = view.mode == CommandMode::kMove;
  if (view.counting) {
    return std::string("Counting the files to ") + (moving ? "move: " : "copy: ") +
           Grouped(view.files);
  }
  if (view.mode == CommandMode::kDelete) {
    return "Deleting " + Grouped(view.file) + " of " + Grouped(view.files) + ": " + view.name;
  }
  std::string text = std::string(moving ? "Moving " : "Copying ") + Grouped(view.file) + " of " +
                     Files(view.files) + ": " + view.name;
  if (view.bytes_total > 0) {
    const auto percent = static_cast<unsigned>(view.bytes_done * 100 / view.bytes_total);
    text += " (" + std::to_string(percent > 100 ? 100 : percent) + " %)";
  }
  return text;
}

std::string ActionText(const Settings& settings) {
  switch (CommandModeOf(settings)) {
    case CommandMode::kCapture:
      return "Drop files to copy their paths";
    case CommandMode::kCopy:
      return "Drop files to copy them to " + FolderName(settings.CopyDestination);
    case CommandMode::kMove:
      return "Drop files to move them to " + FolderName(settings.MoveDestination);
    case CommandMode::kDelete:
      return settings.deletetobin == 1
                 ? std::string("Drop files to delete them (to ") + TrashName() + ")"
                 : "Drop files to delete them for good";
  }
  return "Drops do nothing: there is no CommandMode " + std::to_string(settings.CommandMode);
}
