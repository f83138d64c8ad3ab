// Common ground for the action tests: first-run settings, message boxes
// answered from a script, the clipboard captured, and real folders.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/drop_list.h"
#include "platform/failure.h"
#include "platform/message_box.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

class ActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DesktopDir = folder_ / "Desktop";
    IniPath = folder_ / "Quorlith.ini";
    SetFirstRunValues();
    SettingsRecord.CopyDestination = folder_ / "copies/";
    SettingsRecord.MoveDestination = folder_ / "moved/";
    testing_support::MakeFolder(SettingsRecord.CopyDestination);
    testing_support::MakeFolder(SettingsRecord.MoveDestination);
  }

  void TearDown() override { FreeArray(); }

  // Sets the action and switches off the confirmation questions; overwrite
  // is the overwritefile setting.
  static void Quietly(int mode, int overwrite = 0) {
    SettingsRecord.CommandMode = static_cast<int16_t>(mode);
    SettingsRecord.confirmcopy = SettingsRecord.confirmmove = SettingsRecord.confirmdelete = 0;
    SettingsRecord.overwritefile = overwrite;
  }

  // Drops the paths on the box, as a shell does.
  static void Drop(std::vector<std::string> paths) { SubmitDrop(std::move(paths)); }

  // Makes a file with the given content under the test folder; returns its path.
  std::string MakeFile(const std::string& relative, const std::string& content) {
    const std::string path = folder_ / relative;
    testing_support::WriteFile(path, content);
    return path;
  }

  static std::string Sep() { return std::string(1, NativeSeparator()); }

  // The texts of the boxes shown so far, in order.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : ui_.boxes()) texts.push_back(box.text);
    return texts;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
#ifndef _WIN32
  // Deletions to the Trash land in this test's own folder, never the user's.
  testing_support::ScopedEnv trash_{"XDG_DATA_HOME", folder_ / "data"};
#endif
};

// Texts the user sees. A failure box names the file and the reason after its
// first line; a failed move says the file stayed.
inline const std::string kCopyFailed = "Sorry, Quorlith could not copy the file.";
inline const std::string kMoveFailed = "Sorry, Quorlith could not move the file.";
inline const std::string kOriginalKept =
    "Sorry, Quorlith copied the file but could not remove the original.";
inline std::string FailureBox(const std::string& first_line, const std::string& file,
                              const std::string& reason) {
  return first_line + "\r" + file + "\r" + reason +
         (first_line == kMoveFailed ? "\rIt was left where it was." : "");
}
// The words for a reason that is no system error.
inline std::string ReasonText(platform::Failure kind) {
  platform::NoteFailure(kind);
  return platform::LastFailure();
}
inline const std::string kOverwriteQuestion =
    "This file already exists;\rDo you want to overwrite it?";
inline const std::string kDeleteQuestion = "Do you really want\rto delete these files?";
inline const std::string kDeleteFailed =
    "Sorry, Quorlith could not delete the file.\rPerhaps it is in use.";
