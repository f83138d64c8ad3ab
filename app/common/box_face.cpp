#include "app/common/box_face.h"

namespace {

using Action = DropOutcome::Action;

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
  switch (outcome.action) {
    case Action::kNone:
      return {};
    case Action::kCapture: {
      const int32_t paths = outcome.done + outcome.failed;
      const std::string count = std::to_string(paths) + (paths == 1 ? " path" : " paths");
      return outcome.failed > 0 ? "Could not put " + count + " on the clipboard"
                                : count + " on the clipboard";
    }
    case Action::kCopy:
      if (outcome.declined) return "Nothing copied";
      return "Copied " + done + " to " + outcome.destination + Troubles(outcome);
    case Action::kMove:
      if (outcome.declined) return "Nothing moved";
      return "Moved " + done + " to " + outcome.destination + Troubles(outcome);
    case Action::kDelete:
      if (outcome.declined) return "Nothing deleted";
      if (outcome.to_trash) return "Moved " + done + " to " + TrashName() + Troubles(outcome);
      return "Deleted " + done + Troubles(outcome);
    case Action::kUnknownMode:
      return "Nothing done: there is no CommandMode " + std::to_string(outcome.mode);
  }
  return {};
}

std::string ProgressText(const ProgressView& view) {
  const char* verb = view.action == Action::kMove     ? "Moving"
                     : view.action == Action::kDelete ? "Deleting"
                                                      : "Copying";
  std::string text = std::string(verb) + " " + std::to_string(view.file) + " of " +
                     std::to_string(view.files) + ": " + view.name;
  if (view.action != Action::kDelete && view.bytes_total > 0) {
    const auto percent = static_cast<unsigned>(view.bytes_done * 100 / view.bytes_total);
    text += " (" + std::to_string(percent > 100 ? 100 : percent) + " %)";
  }
  return text;
}

void BoxFace::SetProgress(const ProgressView& view) {
  if (!view.running || view.seconds < kProgressAfterSeconds || view.files <= 0) {
    if (!view.running) done_ = -1;
    return;
  }
  // Bytes tell the share of a copy; files tell it where there are no bytes.
  if (view.action != Action::kDelete && view.bytes_total > 0) {
    done_ = static_cast<double>(view.bytes_done) / static_cast<double>(view.bytes_total);
  } else {
    done_ = static_cast<double>(view.file > 0 ? view.file - 1 : 0) / view.files;
  }
  if (done_ > 1) done_ = 1;
  tip_ = ProgressText(view);
}

void BoxFace::SetOutcome(const DropOutcome& outcome, Clock::time_point now) {
  if (done_ >= 0) Flash(now);
  done_ = -1;
  tip_ = OutcomeText(outcome);
}

BoxFace::Look BoxFace::LookAt(Clock::time_point now) const {
  Look look;
  look.done = done_;
  if (now < flash_until_)
    look.tint = Tint::kFlash;
  else if (hover_)
    look.tint = Tint::kHover;
  return look;
}
