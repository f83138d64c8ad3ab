// Test automation for the real user interface of the test thread: a helper
// thread finds the message boxes and popup menus the thread opens, records
// what they show and answers them the way a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace win32_testing {

// A message box as seen on the screen; style is read back from its buttons
// and icon (MB_OK, MB_YESNO, ... | MB_ICONWARNING, ...). Modality bits
// leave no trace on the screen and are not reported.
struct SeenBox {
  std::string text;
  std::string caption;
  uint32_t style = 0;
  int pressed = 0;  // the button id the robot pressed
};

// A popup menu as seen on the screen.
struct SeenMenu {
  HMENU menu = nullptr;
  POINT top_left = {};
};

class UiRobot {
 public:
  // Watches the top-level windows of the calling thread.
  UiRobot();
  ~UiRobot();
  UiRobot(const UiRobot&) = delete;
  UiRobot& operator=(const UiRobot&) = delete;

  // Buttons to press in the coming boxes, in order (IDYES, IDNO, IDOK...).
  // Without a scripted answer a box gets No when it has one, else OK.
  void Answer(std::vector<int> buttons);
  // The next menu is not dismissed: its item at position (separators
  // counted) is chosen with the keyboard.
  void ChooseMenuPosition(int position);
  // Runs once on the robot's thread while the next box is up, before it is
  // answered (to act as the user meanwhile, e.g. drop more files).
  void WhileNextBoxShows(std::function<void()> action);

  std::vector<SeenBox> Boxes();
  std::vector<SeenMenu> Menus();

  // Looks at one top-level window of the watched thread (robot thread only).
  void Visit(HWND window);

 private:
  void Run();
  void HandleBox(HWND dialog);
  void HandleMenu(HWND popup);

  DWORD thread_;
  std::mutex mutex_;
  std::deque<int> answers_;
  int menu_choice_ = -1;
  std::function<void()> while_box_;
  std::vector<SeenBox> boxes_;
  std::vector<SeenMenu> menus_;
  std::vector<HWND> handled_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

// Posts a key press to a window of another thread.
void PostKey(HWND window, WORD key);

}  // namespace win32_testing
