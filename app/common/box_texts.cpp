#include "app/common/box_texts.h"

namespace {

std::string Files(int32_t count) {
  return std::to_string(count) + (count == 1 ? " file" : " files");
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
  if (outcome.failed > 0) text += ", " + std::to_string(outcome.failed) + " failed";
  if (outcome.skipped > 0) text += ", " + std::to_string(outcome.skipped) + " skipped";
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
      return "Copied " + done + " to " + outcome.destination + Troubles(outcome);
    case CommandMode::kMove:
      if (outcome.declined) return "Nothing moved";
      return "Moved " + done + " to " + outcome.destination + Troubles(outcome);
    case CommandMode::kDelete:
      if (outcome.declined) return "Nothing deleted";
      if (outcome.to_trash) return "Moved " + done + " to " + TrashName() + Troubles(outcome);
      return "Deleted " + done + Troubles(outcome);
  }
  return "Nothing done: there is no CommandMode " + std::to_string(StoredNumber(outcome.mode));
}

std::string ProgressText(const ProgressView& view) {
  const char* verb = view.mode == CommandMode::kMove     ? "Moving"
                     : view.mode == CommandMode::kDelete ? "Deleting"
                                                         : "Copying";
  std::string text = std::string(verb) + " " + std::to_string(view.file) + " of " +
                     std::to_string(view.files) + ": " + view.name;
  if (view.mode != CommandMode::kDelete && view.bytes_total > 0) {
    const auto percent = static_cast<unsigned>(view.bytes_done * 100 / view.bytes_total);
    text += " (" + std::to_string(percent > 100 ? 100 : percent) + " %)";
  }
  return text;
}
