// First-run settings, destinations in a fresh folder, scripted boxes and clipboard.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "actions/dispatch.h"
#include "actions/drop_list.h"
#include "platform/failure.h"
#include "platform/message_box.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/long_path.h"
#endif

using testing_support::Exists;
using testing_support::ReadFile;
using Texts = std::vector<std::string>;
constexpr int kYes = platform::kAnswerYes, kNo = platform::kAnswerNo;

class ActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DesktopDir = folder_ / "Desktop";
    IniPath = folder_ / "Quorlith.ini";
    SetFirstRunValues();
    SettingsRecord.CopyDestination = copies_;
    SettingsRecord.MoveDestination = moved_;
    testing_support::MakeFolder(copies_);
    testing_support::MakeFolder(moved_);
  }
  void TearDown() override { FreeArray(); }
  // One drop, run by the dispatch as the box runs it.
  static void Drop(std::vector<std::string> paths) {
    SetDropList(std::move(paths));
    DispatchDrop();
  }
  // The action, with the confirmation questions off.
  static void Quietly(int mode, int overwrite = 0) {
    SettingsRecord.CommandMode = static_cast<int16_t>(mode);
    SettingsRecord.confirmcopy = SettingsRecord.confirmmove = SettingsRecord.confirmdelete = 0;
    SettingsRecord.overwritefile = overwrite;
  }
  std::string MakeFile(const std::string& relative, const std::string& content) {
    testing_support::WriteFile(folder_ / relative, content);
    return folder_ / relative;
  }
  // The texts of the boxes shown from the first-th on.
  Texts BoxTexts(size_t first = 0) const {
    Texts texts;
    for (size_t i = first; i < ui_.boxes().size(); ++i) texts.push_back(ui_.boxes()[i].text);
    return texts;
  }

  testing_support::TempFolder folder_;
  std::string copies_ = folder_ / "copies/", moved_ = folder_ / "moved/";
  testing_support::ScriptedUi ui_;
#ifndef _WIN32
  testing_support::ScopedEnv trash_{"XDG_DATA_HOME", folder_ / "data"};  // the Trash is ours
#endif
};

inline const std::string kCopyFailed = "Sorry, Quorlith could not copy the file.";
inline const std::string kMoveFailed = "Sorry, Quorlith could not move the file.";
inline const std::string kOverwriteQuestion =
    "This file already exists;\rDo you want to overwrite it?";
// A failure box: what failed, the file, the reason, and for a move that it stayed.
inline std::string FailureBox(const std::string& failed, const std::string& file,
                              const std::string& reason) {
  return failed + "\r" + file + "\r" + reason +
         (failed == kMoveFailed ? "\rIt was left where it was." : "");
}
// A folder's tree as text, each entry below it in sorted order: "sub/" a folder, "sub/a=bytes" a
// file, "sub/l->text" a link, "sub/p|" a pipe or socket; "/" between levels on both systems.
// Links are not followed.
inline Texts TreeOf(std::string folder, const std::string& below = "") {
  if (folder.back() != NativeSeparator()) folder += NativeSeparator();
  Texts tree;
  for (const std::string& name : testing_support::NamesIn(folder)) {
    const std::string path = folder + name, relative = below + name;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(platform::win32::SystemPath(path).c_str());
    const bool link = false, is_folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool special = false;
#else
    namespace fs = std::filesystem;
    const fs::file_status status = fs::symlink_status(path);
    const bool link = fs::is_symlink(status), is_folder = fs::is_directory(status);
    const bool special = fs::is_fifo(status) || fs::is_socket(status);
#endif
    if (special) {
      tree.push_back(relative + "|");
    } else if (link) {
      tree.push_back(relative + "->" + std::filesystem::read_symlink(path).string());
    } else if (is_folder) {
      tree.push_back(relative + "/");
      for (std::string& inner : TreeOf(path, relative + "/")) tree.push_back(std::move(inner));
    } else {
      tree.push_back(relative + "=" + ReadFile(path));
    }
  }
  return tree;
}

inline std::string Reason(platform::Failure kind) {
  platform::NoteFailure(kind);
  return platform::LastFailure();
}
