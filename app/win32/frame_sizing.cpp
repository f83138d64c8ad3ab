// The frame of the unlocked box as hit-test codes. Some Win32
// implementations (Wine among them) give a popup with a dialog frame and a
// thick frame no sizing border: the default procedure answers HTNOWHERE on
// the frame and its own sizing loop refuses the window. There the box
// answers the sizing codes itself (from the box's own frame rule) and follows
// the pointer while the left button is down (press_drag.cpp).
#include "app/common/box_geometry.h"
#include "app/win32/drop_box_shell.h"

namespace {

ScreenRect ScreenRectOf(const RECT& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

bool IsSizingCode(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

Edges EdgesOfHit(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
      return kLeftEdge;
    case HTRIGHT:
      return kRightEdge;
    case HTTOP:
      return kTopEdge;
    case HTBOTTOM:
      return kBottomEdge;
    case HTTOPLEFT:
      return kTopEdge | kLeftEdge;
    case HTTOPRIGHT:
      return kTopEdge | kRightEdge;
    case HTBOTTOMLEFT:
      return kBottomEdge | kLeftEdge;
    case HTBOTTOMRIGHT:
      return kBottomEdge | kRightEdge;
    default:
      return kNoEdge;  // HTCAPTION: the body moves the box whole
  }
}

LRESULT FrameSizingCode(HWND window, POINT screen) {
  RECT outer;
  RECT client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  // The frame is what lies between the outer rectangle and the client area.
  const Edges edges = FrameEdgesAt(ScreenRectOf(outer), ScreenRectOf(client), screen.x, screen.y,
                                   GetSystemMetrics(SM_CXSMICON));
  const bool left = (edges & kLeftEdge) != 0;
  const bool right = (edges & kRightEdge) != 0;
  if (edges & kTopEdge) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (edges & kBottomEdge) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  if (left) return HTLEFT;
  if (right) return HTRIGHT;
  return HTNOWHERE;
}

void PlaceAt(HWND window, const ScreenRect& r) {
  // No WM_WINDOWPOSCHANGING: its default would hold the box to a caption
  // window's minimum width.
  SetWindowPos(window, nullptr, r.x, r.y, r.w, r.h,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

ScreenRect WindowRectOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return ScreenRectOf(r);
}
