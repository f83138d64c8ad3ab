// Starts the real drop box in-process, over a settings file in a temporary
// folder, and gives the tests the means to drive it as the system and the
// user would.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/drop_box_shell.h"
#include "tests/support/temp_folder.h"
#include "tests/win32/ui_robot.h"

namespace win32_testing {

// Settings keys and their values, written over the first-run ones.
using SettingsChanges = std::map<std::string, std::string>;

class DropBoxTest : public ::testing::Test {
 protected:
  // The window class can be registered once per process only, as StartUp
  // does it; every test then creates and destroys its own box.
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Writes a complete settings file: the first-run values with changes.
  void WriteSettings(const SettingsChanges& changes = {});
  // The start-up sequence over the settings file in folder_.
  void Start();
  // Destroys the box, if it is still there, and removes the quit message its
  // end posts, so the next box of the same test starts with a clean queue.
  void Finish();
  // Dispatches what waits in the thread's queue, as the message loop would.
  void Pump();
  // Removes the quit message from the queue; its exit code, if there was one.
  std::optional<WPARAM> TakeQuit();

  RECT Outer() const;
  LONG Style() const { return GetWindowLongA(DropBoxWindow, GWL_STYLE); }
  BYTE Alpha() const;
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageA(DropBoxWindow, message, wparam, lparam);
  }
  std::string IniPathHere() const { return folder_ / "Quorlith.ini"; }
  int FileNumber(const char* key) const;
  // x, y, w, h as the settings file holds them.
  std::vector<int> SavedRect() const;
  std::string IniBytes() const;

  testing_support::TempFolder folder_;
  UiRobot robot_;
  // Documents the commands asked the shell to open.
  std::vector<std::string> opened_;
};

// A real drop handle holding names, as the shell makes it for WM_DROPFILES.
HDROP MakeDrop(const std::vector<std::string>& names);
// The clipboard's CF_TEXT; nullopt when it holds no text.
std::optional<std::string> ClipboardText();
// Puts text on the clipboard, so a test can see whether a drop replaced it.
void SetClipboard(const std::string& text);

}  // namespace win32_testing
