#include "actions/delete_files.h"

#include <string>

#include "actions/drop_list.h"
#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/strings.h"

void DeleteFiles() {
  const std::string DeleteFailureText =
      JoinText(3, "Sorry, Quorlith could not delete the file.", LineBreak, "Perhaps it is in use.");

  if (SettingsRecord.confirmdelete == 1 &&
      ShowMessage(JoinText(3, "Do you really want", LineBreak, "to delete these files?"),
                  "Quorlith",
                  platform::kBoxYesNo | platform::kBoxIconQuestion | platform::kBoxSystemModal) !=
          platform::kAnswerYes) {
    return;
  }

  // One choice for the whole drop.
  const bool to_bin = SettingsRecord.deletetobin == 1;
  for (int32_t i = 0; i < DropCount; ++i) {
    const std::string& path = DropList[static_cast<size_t>(i)];
    const bool deleted = to_bin ? RecycleFile(path.c_str()) == 1 : platform::RemoveFile(path);
    if (!deleted) ShowMessage(DeleteFailureText.c_str(), "Quorlith", platform::kBoxOk);
  }
}

int RecycleFile(const char* path) {
  if (path[0] == '\0') return 0;
  return platform::MoveToTrash(path) ? 1 : 0;
}
