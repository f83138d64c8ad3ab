#include "actions/dispatch.h"

#include "actions/capture.h"
#include "actions/copy_move.h"
#include "actions/delete_files.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/strings.h"

void DispatchDrop() {
  const int16_t mode = SettingsRecord.CommandMode;
  switch (mode) {
    case 1:
      CapturePaths();
      break;
    case 2:
    case 3:
      CopyOrMoveFiles();
      break;
    case 4:
      DeleteFiles();
      break;
    default:
      // "% .15G" puts a blank before a non-negative number, so the text shows
      // two blanks after "for" then, and one before a minus sign.
      ShowMessage(JoinText(3, "Hey, there isn't any CommandMode for ", NumberToText(mode), "!"),
                  "Quorlith", platform::kBoxOk);
      break;
  }
}
