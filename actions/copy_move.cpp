#include "actions/copy_move.h"

#include <string>
#include <vector>

#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_plan.h"
#include "actions/drop_work.h"
#include "actions/failure_report.h"
#include "actions/folder_copy.h"
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

// One dropped path that is no folder: a file (a link followed), or whatever
// else it is, which then fails with its reason.
void CopyOrMoveFile(const std::string& source, const std::string& TargetFolder,
                    DropOutcome& outcome) {
  const std::string TargetPath = TargetFolder + PathNameExtension(source);
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
      return;
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
        ReportFailure("Sorry, Quorlith could not move the file.", source, reason,
                      "It was left where it was.");
      } else {
        ReportFailure("Sorry, Quorlith could not copy the file.", source, reason);
      }
      break;
    case platform::MoveOutcome::kSourceRemained:
      if (outcome.failed++ == 0) outcome.reason = reason;
      ReportFailure("Sorry, Quorlith copied the file but could not remove the original.", source,
                    reason);
      break;
  }
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
  // The files of dropped folders are counted first, so that the progress
  // goes over the whole drop.
  std::vector<DroppedItem> items;
  if (!PlanDrop(TargetFolder, moving, items)) {
    outcome.stopped = true;
    EndProgress();
    return;
  }
  int32_t files = 0;
  uint64_t bytes = 0;
  for (const DroppedItem& item : items) {
    files += item.files;
    bytes += item.bytes;
  }
  BeginProgress(outcome.mode, files, bytes);
  ProgressPlace place;
  for (int32_t i = 0; i < DropCount; ++i) {
    if (StopRequested()) {
      outcome.stopped = true;
      break;
    }
    const std::string& source = DropList[static_cast<size_t>(i)];
    DroppedItem& item = items[static_cast<size_t>(i)];
    if (item.folder) {
      CopyOrMoveFolder(source, TargetFolder, item, place);
      continue;
    }
    BeginProgressFile(++place.file, PathNameExtension(source), place.bytes);
    CopyOrMoveFile(source, TargetFolder, outcome);
    place.bytes += item.bytes;
  }
  EndProgress();
}
