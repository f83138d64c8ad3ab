#include "actions/copy_move.h"

#include <string>

#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "actions/progress.h"
#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/message_box.h"
#include "settings/settings_modes.h"
#include "text/file_system.h"
#include "text/path_parts.h"
#include "text/strings.h"

namespace {

constexpr uint32_t kQuestionStyle =
    platform::kBoxYesNo | platform::kBoxIconQuestion | platform::kBoxSystemModal;  // 4132
constexpr uint32_t kOverwriteStyle =
    platform::kBoxYesNo | platform::kBoxIconWarning | platform::kBoxSystemModal;  // 4148

bool Confirmed(TextArg text, uint32_t style) {
  return AskUser(text, "Quorlith", style) == platform::kAnswerYes;
}

// A failure box: its first line, the file, the reason, and what became of
// the file when that needs saying.
void Report(const char* first_line, const std::string& file, const std::string& reason,
            const char* last_line = nullptr) {
  std::string text = JoinText(5, first_line, LineBreak, file, LineBreak, reason);
  if (last_line != nullptr) text += JoinText(2, LineBreak, last_line);
  AskUser(text, "Quorlith", platform::kBoxOk);
}

uint64_t TotalSize() {
  uint64_t total = 0;
  for (int32_t i = 0; i < DropCount; ++i) {
    total += platform::FileSize(DropList[static_cast<size_t>(i)]);
  }
  return total;
}

}  // namespace

void CopyOrMoveFiles() {
  DropOutcome& outcome = CurrentOutcome();
  const Settings& settings = ActionSettings();
  const bool moving = CommandModeOf(settings) == CommandMode::kMove;
  // The folder and the question are taken once; every file of the drop goes
  // to this folder even if the settings are reloaded meanwhile. They grow to
  // fit: a long destination is never cut.
  const std::string TargetFolder = moving ? settings.MoveDestination : settings.CopyDestination;
  const std::string ConfirmText =
      JoinText(4, "Do you really want", LineBreak,
               moving ? "to move these files to " : "to copy these files to ", TargetFolder) +
      std::string("?");
  outcome.destination = TargetFolder;

  const bool ask = moving ? settings.confirmmove == 1 : settings.confirmcopy == 1;
  if (ask && !Confirmed(ConfirmText, kQuestionStyle)) {
    outcome.declined = true;
    return;
  }

  // What a copy into this folder left behind when its program was killed
  // goes before the next one is made.
  platform::RemoveStaleTemporaries(TargetFolder);
  BeginProgress(outcome.mode, DropCount, TotalSize());
  uint64_t bytes_before = 0;
  for (int32_t i = 0; i < DropCount; ++i) {
    if (StopRequested()) {
      outcome.stopped = true;
      break;
    }
    const std::string& source = DropList[static_cast<size_t>(i)];
    const std::string name = PathNameExtension(source);
    const std::string TargetPath = TargetFolder + name;
    const uint64_t size = platform::FileSize(source);
    BeginProgressFile(i + 1, name, bytes_before);
    bytes_before += size;

    // Dropping a file that already lies in the destination folder would copy
    // it onto itself: it stays untouched, and is reported like any failed copy.
    // An empty name cannot be copied either; neither asks about overwriting.
    const bool same = !source.empty() && platform::IsSameFile(source, TargetPath);
    bool agreed = false;
    if (!source.empty() && !same && FileExists(TargetPath) && ActionSettings().overwritefile == 0) {
      agreed = Confirmed(
          JoinText(3, "This file already exists;", LineBreak, "Do you want to overwrite it?"),
          kOverwriteStyle);
      if (!agreed) {  // declined: this file alone is skipped
        ++outcome.skipped;
        continue;
      }
    }
    // A file is replaced only when the user agreed or the settings say so;
    // otherwise one that appears meanwhile makes the copy fail, untouched.
    const auto existing = agreed || ActionSettings().overwritefile != 0
                              ? platform::ExistingTarget::kReplace
                              : platform::ExistingTarget::kKeep;
    const platform::CopyProgress progress = [](uint64_t done) {
      SetProgressFileBytes(done);
      // A file once begun is finished when the program ends by Exit; when
      // the session ends it is given up here, leaving nothing behind.
      return !StopNowRequested();
    };

    // The mode is read again for each file, as a reload during a question
    // takes effect for the rest of the drop.
    const bool move_this = CommandModeOf(ActionSettings()) == CommandMode::kMove;
    auto result = platform::MoveOutcome::kFailed;
    if (source.empty()) {
      platform::ClearFailure();
    } else if (same) {
      platform::NoteFailure(platform::Failure::kSameFile);
    } else if (move_this) {
      result = platform::MoveFileTo(source, TargetPath, existing, progress);
    } else if (platform::CopyFileTo(source, TargetPath, existing, progress)) {
      result = platform::MoveOutcome::kMoved;
    }
    std::string reason = platform::LastFailure();
    if (reason.empty()) reason = "The drop named no file.";
    switch (result) {
      case platform::MoveOutcome::kMoved:
        ++outcome.done;
        break;
      case platform::MoveOutcome::kFailed:
        // Without a good copy the source is never deleted.
        if (outcome.failed++ == 0) outcome.reason = reason;
        if (move_this) {
          Report("Sorry, Quorlith could not move the file.", source, reason,
                 "It was left where it was.");
        } else {
          Report("Sorry, Quorlith could not copy the file.", source, reason);
        }
        break;
      case platform::MoveOutcome::kSourceRemained:
        if (outcome.failed++ == 0) outcome.reason = reason;
        Report("Sorry, Quorlith copied the file but could not remove the original.", source,
               reason);
        break;
    }
  }
  EndProgress();
}
