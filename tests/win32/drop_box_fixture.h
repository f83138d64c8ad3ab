// Starts the real drop box in-process, over a settings file in a temporary
// folder, and gives the tests the means to drive it as the system would.
#pragma once

#include <gtest/gtest.h>

#include <map>
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
  // The class is registered once per process, as StartUp does it.
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Writes a complete settings file: the first-run values with changes.
  void WriteSettings(const SettingsChanges& changes = {});
  // The start-up sequence over the settings file in folder_.
  void Start();
  // Destroys the box if it is still there and empties the queue, so the next
  // box starts with a clean one.
  void Finish();
  // Runs the message loop until the drops' work, on its own thread, has
  // ended.
  static void PumpUntilDone();

  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageA(DropBoxWindow, message, wparam, lparam);
  }
  LONG Style() const { return GetWindowLongA(DropBoxWindow, GWL_STYLE); }
  BYTE Alpha() const;
  // x, y, width, height: of the box's outer rectangle, and as the file holds them.
  std::vector<int> Placement() const;
  std::vector<int> SavedRect() const;
  int FileNumber(const char* key) const;
  std::string IniPathHere() const { return folder_ / "Quorlith.ini"; }
  std::string IniBytes() const { return testing_support::ReadFile(IniPathHere()); }

  testing_support::TempFolder folder_;
  UiRobot robot_;
  std::vector<std::string> opened_;  // what the commands asked the shell to open
};

}  // namespace win32_testing
