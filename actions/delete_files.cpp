#include "actions/delete_files.h"

#include <string>

#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "actions/progress.h"
#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/path_parts.h"
#include "text/strings.h"

void DeleteFiles() {
  DropOutcome& outcome = CurrentOutcome();
  const Settings& settings = ActionSettings();
  const std::string DeleteFailureText =
      JoinText(3, "Sorry, Quorlith could not delete the file.", LineBreak, "Perhaps it is in use.");

  if (settings.confirmdelete == 1 &&
      AskUser(JoinText(3, "Do you really want", LineBreak, "to delete these files?"), "Quorlith",
              platform::kBoxYesNo | platform::kBoxIconQuestion | platform::kBoxSystemModal) !=
          platform::kAnswerYes) {
    outcome.declined = true;
    return;
  }

  // One choice for the whole drop.
  const bool to_bin = settings.deletetobin == 1;
  outcome.to_trash = to_bin;
  BeginProgress(outcome.mode, DropCount, 0);
  for (int32_t i = 0; i < DropCount; ++i) {
    if (StopRequested()) {
      outcome.stopped = true;
      break;
    }
    const std::string& path = DropList[static_cast<size_t>(i)];
    BeginProgressFile(i + 1, PathNameExtension(path), 0);
    const bool deleted = to_bin ? RecycleFile(path) == 1 : platform::RemoveFile(path);
    if (deleted) {
      ++outcome.done;
    } else {
      // The box names no reason; the box's tip does.
      if (outcome.failed++ == 0) outcome.reason = platform::LastFailure();
      AskUser(DeleteFailureText, "Quorlith", platform::kBoxOk);
    }
  }
  EndProgress();
}

int RecycleFile(TextArg path) {
  platform::ClearFailure();
  if (path[0] == '\0') return 0;
  return platform::MoveToTrash(path) ? 1 : 0;
}
