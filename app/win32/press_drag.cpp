// A left press on the unlocked box's body or frame. The move or the resize
// starts only once the pointer has left the drag rectangle around the press
// with the button held, so that a click or a double-click never starts one.
// Under a window manager this matters: Wine hands a move or a resize to it,
// and its hold on the pointer would swallow the second click of a
// double-click, which then could never lock the box.
#include "app/win32/drop_box_shell.h"

namespace {

// Follows the pointer with the mouse captured until it leaves the system's
// drag rectangle around press (true, with the point where it left) or the
// button goes up, Escape is pressed or the capture is lost (false).
// DragDetect would do the same, but Wine's compares the client coordinates
// of mouse moves with a rectangle in screen coordinates.
bool LeavesDragRect(HWND window, POINT press, POINT& left_at) {
  const int half_width = GetSystemMetrics(SM_CXDRAG);
  const int half_height = GetSystemMetrics(SM_CYDRAG);
  const RECT still = {press.x - half_width, press.y - half_height, press.x + half_width + 1,
                      press.y + half_height + 1};
  bool dragged = false;
  SetCapture(window);
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop sees it again
      break;
    }
    if (got < 0 || msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    if (msg.message == WM_MOUSEMOVE) {
      if (PtInRect(&still, msg.pt)) continue;
      left_at = msg.pt;
      dragged = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (GetCapture() == window) ReleaseCapture();
  return dragged;
}

}  // namespace

bool PressOnUnlockedBox(HWND window, LRESULT hit, LPARAM screen_point) {
  if (hit != HTCAPTION && !IsSizingCode(hit)) return false;
  const POINT press = {static_cast<short>(LOWORD(screen_point)),
                       static_cast<short>(HIWORD(screen_point))};
  POINT now = press;
  if (!LeavesDragRect(window, press, now)) return true;
  if (SizeByFrame(window, hit, screen_point)) return true;

  // The default procedure moves or sizes from where the pointer is now: the
  // box first takes the place the drag so far gives it, so that the point
  // grabbed at the press stays under the pointer.
  RECT begin;
  GetWindowRect(window, &begin);
  PlaceAt(window, DraggedRect(begin, hit, now.x - press.x, now.y - press.y));
  DefWindowProcA(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(now.x, now.y));
  return true;
}
