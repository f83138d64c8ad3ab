#include "actions/dispatch.h"

#include "actions/capture.h"
#include "actions/copy_move.h"
#include "actions/delete_files.h"
#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/strings.h"

namespace {

void Begin(DropOutcome::Action action, int16_t mode) {
  DropOutcome& outcome = CurrentOutcome();
  outcome = {};
  outcome.action = action;
  outcome.mode = mode;
  outcome.items = DropCount;
}

}  // namespace

void DispatchDrop() {
  const int16_t mode = SettingsRecord.CommandMode;
  switch (mode) {
    case 1:
      // The clipboard belongs to the window's thread.
      Begin(DropOutcome::Action::kCapture, mode);
      CapturePaths();
      break;
    case 2:
    case 3:
      Begin(mode == 2 ? DropOutcome::Action::kCopy : DropOutcome::Action::kMove, mode);
      if (RunOffWindowThread(CopyOrMoveFiles)) return;  // reported when it ends
      CopyOrMoveFiles();
      break;
    case 4:
      Begin(DropOutcome::Action::kDelete, mode);
      if (RunOffWindowThread(DeleteFiles)) return;
      DeleteFiles();
      break;
    default:
      Begin(DropOutcome::Action::kUnknownMode, mode);
      // "% .15G" puts a blank before a non-negative number, so the text shows
      // two blanks after "for" then, and one before a minus sign.
      ShowMessage(JoinText(3, "Hey, there isn't any CommandMode for ", NumberToText(mode), "!"),
                  "Quorlith", platform::kBoxOk);
      break;
  }
  ReportOutcome();
}
