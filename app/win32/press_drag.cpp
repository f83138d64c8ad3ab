// A left press on the unlocked box's body or frame, followed with the mouse
// captured: the box's drag rule (BoxDrag) says when a drag begins, so that a
// click or a double-click never starts one. Under a window manager this
// matters: Wine hands a move or a resize to it, and its hold on the pointer
// would swallow the second click of a double-click, which then could never
// lock the box. DragDetect would do the same, but Wine's compares the client
// coordinates of mouse moves with a rectangle in screen coordinates.
#include "app/common/box_drag.h"
#include "app/win32/drop_box_shell.h"

namespace {

// True when the default procedure sizes the box by its frame itself.
bool DefaultSizes(HWND window, LPARAM screen_point) {
  return IsSizingCode(DefWindowProcA(window, WM_NCHITTEST, 0, screen_point));
}

}  // namespace

bool PressOnUnlockedBox(HWND window, LRESULT hit, LPARAM screen_point) {
  if (hit != HTCAPTION && !IsSizingCode(hit)) return false;
  const POINT press = {static_cast<short>(LOWORD(screen_point)),
                       static_cast<short>(HIWORD(screen_point))};
  // The default procedure moves the box, and sizes it where it knows its
  // frame; elsewhere the box follows the pointer itself.
  const bool follows = IsSizingCode(hit) && !DefaultSizes(window, screen_point);
  BoxDrag drag;
  drag.Press(press.x, press.y, EdgesOfHit(hit), WindowRectOf(window));
  const int reach_x = GetSystemMetrics(SM_CXDRAG);
  const int reach_y = GetSystemMetrics(SM_CYDRAG);

  SetCapture(window);
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop sees it again
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      if (drag.Following()) PlaceAt(window, drag.start());  // Escape gives the size back
      break;
    }
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    POINT now;
    GetCursorPos(&now);
    const BoxDrag::Step step = drag.Move(now.x, now.y, reach_x, reach_y);
    if (step == BoxDrag::Step::kBegin && !follows) {
      // The default procedure moves or sizes from where the pointer is now:
      // the box first takes the place the drag so far gives it, so that the
      // point grabbed at the press stays under the pointer.
      ReleaseCapture();
      PlaceAt(window, drag.Follow(now.x, now.y));
      DefWindowProcA(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(now.x, now.y));
      return true;
    }
    if (step != BoxDrag::Step::kNone) PlaceAt(window, drag.Follow(now.x, now.y));
    if (msg.message == WM_LBUTTONUP) break;
  }
  if (GetCapture() == window) ReleaseCapture();
  return true;
}
