// The drop box window: its creation, frame changes and the settings applied
// to it.
#include <memory>
#include <utility>

#include "app/common/box_geometry.h"
#include "app/common/box_lock.h"
#include "app/common/box_opacity.h"
#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "app/win32/drop_box_shell.h"
#include "settings/settings_record.h"

HWND DropBoxWindow = nullptr;
std::unique_ptr<DropBox> Box;

HWND CreateForm(const char* title, int x, int y, int w, int h, DWORD style, DWORD ex_style) {
  // Products truncate toward zero, as a float-to-int conversion does.
  const int dpi = SystemDpi();
  const BoxSize created = CreatedBoxSize({w, h});
  const int left = ToScreenPixels(static_cast<int>(x * ScaleX), dpi);
  const int top = ToScreenPixels(static_cast<int>(y * ScaleY), dpi);
  const int width = ToScreenPixels(static_cast<int>(created.w * ScaleX), dpi);
  const int height = ToScreenPixels(static_cast<int>(created.h * ScaleY), dpi);
  HWND window = CreateWindowExA(ex_style, ClassName.c_str(), title, style, left, top, width, height,
                                nullptr, nullptr, ProgramInstance, nullptr);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return window;
}

bool ChangeWindowStyle(HWND window, DWORD add, DWORD remove, bool extended) {
  SetLastError(0);
  const int which = extended ? GWL_EXSTYLE : GWL_STYLE;
  const DWORD style = static_cast<DWORD>(GetWindowLongA(window, which));
  SetWindowLongA(window, which, static_cast<LONG>((style & ~remove) | add));
  // The new frame takes effect without moving, sizing or restacking.
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return GetLastError() == 0;
}

void ApplySettings() {
  const Settings& s = SettingsRecord;
  SetLayeredWindowAttributes(DropBoxWindow, 0, ShownAlpha(), LWA_ALPHA);
  if (UnlockedMode()) {
    ChangeWindowStyle(DropBoxWindow, WS_THICKFRAME, 0, false);
  } else {
    ChangeWindowStyle(DropBoxWindow, 0, WS_THICKFRAME, false);
  }
  RedrawWindow(DropBoxWindow, nullptr, nullptr, 0);
  ShowWindow(DropBoxWindow, SW_SHOW);
  // The outer size becomes exactly w x h at 96 DPI, so larger on a scaled
  // screen; the position stays where it is.
  const BoxSize size = ShownBoxSize();
  const int dpi = WindowDpi(DropBoxWindow);
  SetWindowPos(DropBoxWindow, HWND_TOPMOST, s.x, s.y, ToScreenPixels(size.w, dpi),
               ToScreenPixels(size.h, dpi), SWP_NOMOVE | SWP_NOSENDCHANGING);
}

void ComeToFront(HWND window) {
  if (!IsWindow(window)) return;
  // A tip that shows stays above the box it belongs to, and would keep the
  // box as low as itself: it goes first.
  PointerLeft();
  ShowWindow(window, SW_SHOW);
  // Out of the topmost band and back in: a box that is topmost already would
  // otherwise stay under a window that Wine does not know of.
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
}

void HandleRequest(platform::InstanceRequest request) {
  if (!Box) return;
  switch (Box->Requested(std::move(request))) {
    case DropBox::RequestAnswer::kComeToFront:
      ComeToFront(DropBoxWindow);
      break;
    case DropBox::RequestAnswer::kExit:
      RunDropBoxCommand(IDM_EXIT);
      return;
    case DropBox::RequestAnswer::kDone:
      break;
  }
  RefreshBox();
}

ScreenRect OuterRect96(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  // The place scales by the system's DPI, the size by the box's screen.
  const int system = SystemDpi();
  const int own = WindowDpi(window);
  return {ToBasePixels(r.left, system), ToBasePixels(r.top, system),
          ToBasePixels(r.right - r.left, own), ToBasePixels(r.bottom - r.top, own)};
}
