#include "tests/win32/ui_robot.h"

#include <algorithm>
#include <utility>

namespace win32_testing {
namespace {

constexpr DWORD kPollMs = 15;
constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
// The text and icon controls of a message box: Windows numbers them 0xFFFF
// and 20, Wine 0xFFFF (or 100) and 1088 (stc1).
constexpr int kTextIds[] = {0xFFFF, 100};
constexpr int kIconIds[] = {20, 1088};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool HasButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button != nullptr && IsWindowVisible(button);
}

uint32_t ButtonStyle(HWND dialog) {
  if (HasButton(dialog, IDYES) && HasButton(dialog, IDNO)) {
    return HasButton(dialog, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
  }
  if (HasButton(dialog, IDRETRY)) return HasButton(dialog, IDABORT) ? MB_ABORTRETRYIGNORE : MB_RETRYCANCEL;
  return HasButton(dialog, IDCANCEL) ? MB_OKCANCEL : MB_OK;
}

// The icon style whose system icon the box shows; 0 for none.
uint32_t IconStyle(HWND dialog) {
  HICON shown = nullptr;
  for (int id : kIconIds) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr && IsWindowVisible(control)) {
      shown = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    }
    if (shown != nullptr) break;
  }
  if (shown == nullptr) return 0;
  const std::pair<LPCSTR, uint32_t> icons[] = {{IDI_HAND, MB_ICONHAND},
                                               {IDI_QUESTION, MB_ICONQUESTION},
                                               {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                               {IDI_ASTERISK, MB_ICONASTERISK}};
  for (const auto& [name, style] : icons) {
    if (LoadIconA(nullptr, name) == shown) return style;
  }
  return MB_USERICON;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM robot) {
  reinterpret_cast<UiRobot*>(robot)->Visit(window);
  return TRUE;
}

}  // namespace

void PostKey(HWND window, WORD key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

UiRobot::UiRobot() : thread_(GetCurrentThreadId()), worker_([this] { Run(); }) {}

UiRobot::~UiRobot() {
  stop_ = true;
  worker_.join();
}

void UiRobot::Answer(std::vector<int> buttons) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.assign(buttons.begin(), buttons.end());
}

void UiRobot::ChooseMenuPosition(int position) {
  std::lock_guard<std::mutex> lock(mutex_);
  menu_choice_ = position;
}

void UiRobot::WhileNextBoxShows(std::function<void()> action) {
  std::lock_guard<std::mutex> lock(mutex_);
  while_box_ = std::move(action);
}

std::vector<SeenBox> UiRobot::Boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

std::vector<SeenMenu> UiRobot::Menus() {
  std::lock_guard<std::mutex> lock(mutex_);
  return menus_;
}

void UiRobot::Run() {
  while (!stop_) {
    EnumThreadWindows(thread_, VisitWindow, reinterpret_cast<LPARAM>(this));
    // A closed window's handle may come back for a new one.
    std::erase_if(handled_, [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); });
    Sleep(kPollMs);
  }
}

void UiRobot::Visit(HWND window) {
  // Not before it is shown: only then are its controls complete.
  if (!IsWindowVisible(window)) return;
  if (std::find(handled_.begin(), handled_.end(), window) != handled_.end()) return;
  const std::string kind = ClassOf(window);
  if (kind == "#32770") {
    handled_.push_back(window);
    HandleBox(window);
  } else if (kind == "#32768") {
    handled_.push_back(window);
    HandleMenu(window);
  }
}

void UiRobot::HandleBox(HWND dialog) {
  SeenBox box;
  box.caption = TextOf(dialog);
  for (int id : kTextIds) {
    if (GetDlgItem(dialog, id) != nullptr) {
      box.text = TextOf(GetDlgItem(dialog, id));
      break;
    }
  }
  box.style = ButtonStyle(dialog) | IconStyle(dialog);

  std::function<void()> action;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!answers_.empty()) {
      box.pressed = answers_.front();
      answers_.pop_front();
    } else {
      box.pressed = HasButton(dialog, IDNO) ? IDNO : IDOK;
    }
    action = std::exchange(while_box_, nullptr);
  }
  if (action) action();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(box);
  }
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(box.pressed, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, box.pressed)));
}

void UiRobot::HandleMenu(HWND popup) {
  SeenMenu seen;
  DWORD_PTR menu = 0;
  SendMessageTimeoutA(popup, kGetMenuHandle, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu);
  seen.menu = reinterpret_cast<HMENU>(menu);
  RECT r = {};
  GetWindowRect(popup, &r);
  seen.top_left = {r.left, r.top};
  int choice = -1;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    menus_.push_back(seen);
    choice = std::exchange(menu_choice_, -1);
  }
  if (choice < 0) {
    PostKey(popup, VK_ESCAPE);
    return;
  }
  // Arrow keys skip separators: one press per text item up to the choice.
  for (int i = 0; i <= choice; ++i) {
    if ((GetMenuState(seen.menu, i, MF_BYPOSITION) & MF_SEPARATOR) == 0) PostKey(popup, VK_DOWN);
  }
  PostKey(popup, VK_RETURN);
}

}  // namespace win32_testing
