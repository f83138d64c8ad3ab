// Sizing the unlocked box by its frame. Some Win32 implementations (Wine
// among them) give a popup with a dialog frame and a thick frame no sizing
// border: the default procedure answers HTNOWHERE on the frame and its own
// sizing loop refuses the window. There the box answers the sizing codes
// itself and follows the pointer while the left button is down. Where the
// default procedure sizes the frame, all of this stays out of its way.
#include <algorithm>

#include "app/win32/drop_box_shell.h"

namespace {

// Below this outer size the box would be no target for a drop any more.
constexpr int kMinimumSide = 16;

// Points this close to a corner size both edges at once.
int CornerGrip() { return GetSystemMetrics(SM_CXSMICON); }

bool DefaultSizes(HWND window, LPARAM screen_point) {
  return IsSizingCode(DefWindowProcA(window, WM_NCHITTEST, 0, screen_point));
}

}  // namespace

RECT DraggedRect(const RECT& begin, LRESULT hit, int dx, int dy) {
  RECT r = begin;
  if (hit == HTCAPTION) {
    OffsetRect(&r, dx, dy);
    return r;
  }
  const bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
  const bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
  const bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
  const bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
  if (left) r.left = std::min(begin.left + dx, begin.right - kMinimumSide);
  if (right) r.right = std::max(begin.right + dx, begin.left + kMinimumSide);
  if (top) r.top = std::min(begin.top + dy, begin.bottom - kMinimumSide);
  if (bottom) r.bottom = std::max(begin.bottom + dy, begin.top + kMinimumSide);
  return r;
}

void PlaceAt(HWND window, const RECT& r) {
  // No WM_WINDOWPOSCHANGING: its default would hold the box to a caption
  // window's minimum width.
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

bool IsSizingCode(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

LRESULT FrameSizingCode(HWND window, POINT screen) {
  RECT outer;
  RECT client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!PtInRect(&outer, screen) || PtInRect(&client, screen)) return HTNOWHERE;

  const int grip = CornerGrip();
  bool left = screen.x < client.left;
  bool right = screen.x >= client.right;
  bool top = screen.y < client.top;
  bool bottom = screen.y >= client.bottom;
  if (top || bottom) {
    left = left || screen.x < outer.left + grip;
    right = right || screen.x >= outer.right - grip;
  }
  if (left || right) {
    top = top || screen.y < outer.top + grip;
    bottom = bottom || screen.y >= outer.bottom - grip;
  }
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

bool SizeByFrame(HWND window, LRESULT hit, LPARAM screen_point) {
  if (!IsSizingCode(hit) || DefaultSizes(window, screen_point)) return false;

  RECT begin;
  GetWindowRect(window, &begin);
  const POINT press = {static_cast<short>(LOWORD(screen_point)),
                       static_cast<short>(HIWORD(screen_point))};
  SetCapture(window);
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the loop above sees it again
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      POINT now;
      GetCursorPos(&now);
      PlaceAt(window, DraggedRect(begin, hit, now.x - press.x, now.y - press.y));
      if (msg.message == WM_LBUTTONUP) break;
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PlaceAt(window, begin);  // Escape gives the size back
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (GetCapture() == window) ReleaseCapture();
  return true;
}
