#include "tests/win32/ui_robot.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win32/wide_text.h"

namespace win32_testing {
namespace {

// Whether the dialog shows its control id.
bool Shows(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr && IsWindowVisible(control);
}

uint32_t ButtonStyle(HWND dialog) {
  if (Shows(dialog, IDYES)) return Shows(dialog, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
  if (Shows(dialog, IDRETRY)) return Shows(dialog, IDABORT) ? MB_ABORTRETRYIGNORE : MB_RETRYCANCEL;
  return Shows(dialog, IDCANCEL) ? MB_OKCANCEL : MB_OK;
}

// The icon style whose system icon the box shows; 0 for none. Windows numbers
// the icon control 20, Wine 1088.
uint32_t IconStyle(HWND dialog) {
  for (int id : {20, 1088}) {
    if (!Shows(dialog, id)) continue;
    const auto shown = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, id, STM_GETICON, 0, 0));
    if (shown == nullptr) continue;
    for (const auto& [name, style] : {std::pair<LPCSTR, uint32_t>{IDI_HAND, MB_ICONHAND},
                                      {IDI_QUESTION, MB_ICONQUESTION},
                                      {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                      {IDI_ASTERISK, MB_ICONASTERISK}}) {
      if (LoadIconA(nullptr, name) == shown) return style;
    }
    return MB_USERICON;
  }
  return 0;
}

// The message of a box, read in UTF-16. Windows numbers its text control
// 0xFFFF, Wine 100.
std::string MessageText(HWND dialog) {
  for (int id : {0xFFFF, 100}) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) continue;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length));
    if (!text.empty()) return platform::win32::Narrow(text);
  }
  return {};
}

}  // namespace

void UiRobot::Run() {
  while (!stop_) {
    EnumThreadWindows(thread_, VisitWindow, reinterpret_cast<LPARAM>(this));
    // A closed window's handle may come back for a new one.
    std::erase_if(handled_, [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); });
    Sleep(15);
  }
}

BOOL CALLBACK UiRobot::VisitWindow(HWND window, LPARAM robot) {
  auto* self = reinterpret_cast<UiRobot*>(robot);
  char kind[16] = {};
  GetClassNameA(window, kind, sizeof kind);
  const bool box = std::strcmp(kind, "#32770") == 0;
  // Not before it is shown: only then are its controls complete.
  if ((box || std::strcmp(kind, "#32768") == 0) && IsWindowVisible(window) &&
      std::ranges::find(self->handled_, window) == self->handled_.end()) {
    self->handled_.push_back(window);
    box ? self->HandleBox(window) : self->HandleMenu(window);
  }
  return TRUE;
}

void UiRobot::HandleBox(HWND dialog) {
  char caption[256] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  std::lock_guard<std::mutex> lock(mutex_);
  int pressed = Shows(dialog, IDNO) ? IDNO : IDOK;
  if (!answers_.empty()) {
    pressed = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back({caption, ButtonStyle(dialog) | IconStyle(dialog), MessageText(dialog)});
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, pressed)));
}

void UiRobot::HandleMenu(HWND popup) {
  DWORD_PTR menu = 0;
  SendMessageTimeoutA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu);
  RECT r = {};
  GetWindowRect(popup, &r);
  std::lock_guard<std::mutex> lock(mutex_);
  menus_.push_back({reinterpret_cast<HMENU>(menu), {r.left, r.top}});
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
}

}  // namespace win32_testing
