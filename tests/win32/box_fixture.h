// The real drop box started in-process over a settings file in a temporary
// folder, message boxes scripted, and the means to drive it as the system does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/drop_list.h"
#include "app/common/program.h"
#include "app/win32/drop_box_shell.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

class BoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {  // the class is registered once, as StartUp does it
    static const ATOM registered = [] {
      ClassName = "Quorlith";
      SetMetric("pixels");
      InitGui();
      return RegisterFormClass(ClassName.c_str(), DropBoxProc);
    }();
    ASSERT_NE(registered, 0);
  }
  BoxTest() {
    platform::SetOpenHandler([this](const std::string& path) {
      opened_.push_back(path);
      return true;
    });
  }
  ~BoxTest() override {
    Finish();
    platform::SetOpenHandler(nullptr);
  }

  // Keys left out keep the values last read.
  void WriteSettings(const std::string& coordinates = "x=244\r\ny=200\r\nw=75\r\nh=75\r\nb=1\r\n",
                     const std::string& options = "") {
    testing_support::WriteFile(IniPath(), "[Coordinates]\r\n" + coordinates + "[Options]\r\n" + options);
  }
  void Start() {
    FormLoadIn(folder_.path(), "");
    ASSERT_TRUE(IsWindow(DropBoxWindow));
    Pump();
  }
  // Destroys the box if it is still there and empties the queue.
  void Finish() {
    if (IsWindow(DropBoxWindow)) DestroyWindow(DropBoxWindow);
    Pump();
  }
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  // Runs the message loop until the drops' work, on its own thread, has ended.
  static void PumpUntilDone() {
    for (int i = 0; i < 20000 && DropActionRunning(); ++i) {
      Pump();
      Sleep(1);
    }
    Pump();
  }
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageA(DropBoxWindow, message, wparam, lparam);
  }
  bool Framed() const { return (GetWindowLongA(DropBoxWindow, GWL_STYLE) & WS_THICKFRAME) != 0; }
  BYTE Alpha() const {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(DropBoxWindow, nullptr, &alpha, nullptr);
    return alpha;
  }
  // x, y, width, height: of the box's outer rectangle, and as the file holds them.
  std::vector<int> Placement() const {
    RECT r = {};
    GetWindowRect(DropBoxWindow, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::vector<int> SavedRect() const { return {Number("x"), Number("y"), Number("w"), Number("h")}; }
  int Number(const char* key) const { return ReadIniNumber(IniPath().c_str(), "Coordinates", key, -9999); }
  std::string IniPath() const { return folder_ / "Quorlith.ini"; }
  std::string IniBytes() const { return testing_support::ReadFile(IniPath()); }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  std::vector<std::string> opened_;  // what the commands asked the shell to open
};
