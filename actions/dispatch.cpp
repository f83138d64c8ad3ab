#include "actions/dispatch.h"

#include "actions/capture.h"
#include "actions/copy_move.h"
#include "actions/delete_files.h"
#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "platform/message_box.h"
#include "settings/settings_modes.h"
#include "text/file_system.h"
#include "text/strings.h"

void DispatchDrop() {
  const CommandMode mode = CommandModeOf(SettingsRecord);
  DropOutcome& outcome = CurrentOutcome();
  outcome = {};
  outcome.mode = mode;
  outcome.items = DropCount;
  switch (mode) {
    case CommandMode::kCapture:
      // The clipboard belongs to the window's thread.
      CapturePaths();
      break;
    case CommandMode::kCopy:
    case CommandMode::kMove:
      if (!RunOffWindowThread(CopyOrMoveFiles)) CopyOrMoveFiles();
      break;
    case CommandMode::kDelete:
      if (!RunOffWindowThread(DeleteFiles)) DeleteFiles();
      break;
    default:
      // "% .15G" puts a blank before a non-negative number, so the text shows
      // two blanks after "for" then, and one before a minus sign.
      ShowMessage(JoinText(3, "Hey, there isn't any CommandMode for ",
                           NumberToText(StoredNumber(mode)), "!"),
                  "Quorlith", platform::kBoxOk);
      break;
  }
}
