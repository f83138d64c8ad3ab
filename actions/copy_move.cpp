#include "actions/copy_move.h"

#include <string>

#include "actions/drop_list.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/path_parts.h"
#include "text/strings.h"

namespace {

constexpr uint32_t kQuestionStyle =
    platform::kBoxYesNo | platform::kBoxIconQuestion | platform::kBoxSystemModal;  // 4132
constexpr uint32_t kOverwriteStyle =
    platform::kBoxYesNo | platform::kBoxIconWarning | platform::kBoxSystemModal;  // 4148

bool Confirmed(const char* text, uint32_t style) {
  return ShowMessage(text, "Quorlith", style) == platform::kAnswerYes;
}

void Report(const char* first_line, const char* second_line) {
  ShowMessage(JoinText(3, first_line, LineBreak, second_line), "Quorlith", platform::kBoxOk);
}

}  // namespace

void CopyOrMoveFiles() {
  const bool moving = SettingsRecord.CommandMode == 3;
  // The folder and the question are taken once; every file of the drop goes
  // to this folder even if the settings are reloaded meanwhile. They grow to
  // fit: a long destination is never cut.
  const std::string TargetFolder =
      moving ? SettingsRecord.MoveDestination : SettingsRecord.CopyDestination;
  const std::string ConfirmText =
      JoinText(4, "Do you really want", LineBreak,
               moving ? "to move these files to " : "to copy these files to ",
               TargetFolder.c_str()) +
      std::string("?");

  const bool ask = moving ? SettingsRecord.confirmmove == 1 : SettingsRecord.confirmcopy == 1;
  if (ask && !Confirmed(ConfirmText.c_str(), kQuestionStyle)) return;

  for (int32_t i = 0; i < DropCount; ++i) {
    const std::string& source = DropList[static_cast<size_t>(i)];
    const std::string TargetPath = TargetFolder + PathNameExtension(source.c_str());

    // Dropping a file that already lies in the destination folder would copy
    // it onto itself: it stays untouched, and is reported like any failed copy.
    // An empty name cannot be copied either; neither asks about overwriting.
    const bool doomed = source.empty() || platform::IsSameFile(source, TargetPath);
    bool agreed = false;
    if (!doomed && FileExists(TargetPath.c_str()) && SettingsRecord.overwritefile == 0) {
      agreed = Confirmed(
          JoinText(3, "This file already exists;", LineBreak, "Do you want to overwrite it?"),
          kOverwriteStyle);
      if (!agreed) continue;  // declined: this file alone is skipped
    }
    // A file is replaced only when the user agreed or the settings say so;
    // otherwise one that appears meanwhile makes the copy fail, untouched.
    const auto existing = agreed || SettingsRecord.overwritefile != 0
                              ? platform::ExistingTarget::kReplace
                              : platform::ExistingTarget::kKeep;

    // The mode is read again for each file, as a reload during a question
    // takes effect for the rest of the drop.
    const bool move_this = SettingsRecord.CommandMode == 3;
    if (doomed || !platform::CopyFileTo(source, TargetPath, existing)) {
      // Without a good copy the source is never deleted.
      if (move_this) {
        Report("Sorry, Quorlith could not move the file.", "It was left where it was.");
      } else {
        Report("Sorry, Quorlith could not copy the file.",
               "Perhaps it is in use, or the destination folder is missing.");
      }
      continue;
    }
    if (move_this && !platform::RemoveFile(source)) {
      Report("Sorry, Quorlith copied the file but could not remove the original.",
             "Perhaps it is in use.");
    }
  }
}
