// Test automation for the real user interface of the test thread: a helper
// thread finds the message boxes and popup menus the thread opens, records
// what they show and answers them the way a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace win32_testing {

// A message box as seen on the screen; style is read back from its buttons
// and icon (MB_YESNO | MB_ICONQUESTION, ...).
struct SeenBox {
  std::string caption;
  uint32_t style = 0;
  std::string text;  // the message, in UTF-8
};

// A popup menu as seen on the screen, before the robot closes it with Escape.
struct SeenMenu {
  HMENU menu = nullptr;
  POINT top_left = {};
};

class UiRobot {
 public:
  // Watches the top-level windows of the calling thread.
  UiRobot() : thread_(GetCurrentThreadId()), worker_([this] { Run(); }) {}
  ~UiRobot() {
    stop_ = true;
    worker_.join();
  }
  UiRobot(const UiRobot&) = delete;
  UiRobot& operator=(const UiRobot&) = delete;

  // Buttons to press in the coming boxes, in order (IDYES, IDNO, IDOK...).
  // Without a scripted answer a box gets No when it has one, else OK.
  void Answer(const std::vector<int>& buttons) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.assign(buttons.begin(), buttons.end());
  }
  std::vector<SeenBox> Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
  }
  std::vector<SeenMenu> Menus() {
    std::lock_guard<std::mutex> lock(mutex_);
    return menus_;
  }

 private:
  static BOOL CALLBACK VisitWindow(HWND window, LPARAM robot);
  void Run();
  void HandleBox(HWND dialog);
  void HandleMenu(HWND popup);

  DWORD thread_;
  std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<SeenBox> boxes_;
  std::vector<SeenMenu> menus_;
  std::vector<HWND> handled_;  // robot thread only
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace win32_testing
