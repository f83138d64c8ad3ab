// The drop box's window procedure: drops, right-clicks, hit testing, the
// lock toggle, menu commands and the end of the program.
#include "actions/drop_work.h"
#include "app/common/box_lock.h"
#include "app/win32/drop_box_shell.h"

#include <windowsx.h>

namespace {

// Unlocked, the body answers as a caption, so dragging it moves the box and
// the thick frame keeps its sizing codes; locked, everything is client area,
// so the box can be neither moved nor resized.
// Where the default procedure gives the frame no sizing code, the frame band
// answers its own, so the unlocked box can still be resized.
LRESULT MapHitTest(HWND window, WPARAM wparam, LPARAM lparam) {
  const LRESULT hit = DefWindowProcA(window, WM_NCHITTEST, wparam, lparam);
  if (!UnlockedMode()) return HTCLIENT;
  if (hit == HTCLIENT) return HTCAPTION;
  if (IsSizingCode(hit)) return hit;
  const LRESULT own = FrameSizingCode(window, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  return own == HTNOWHERE ? hit : own;
}

// Switches the frame first, then b, which is written to the settings file at
// once; the box keeps its place and outer size.
void ToggleLockFrame(HWND window) {
  if (UnlockedMode()) {
    ChangeWindowStyle(window, 0, WS_THICKFRAME, false);
  } else {
    ChangeWindowStyle(window, WS_THICKFRAME, 0, false);
  }
  ToggleLock();
}

}  // namespace

LRESULT CALLBACK DropBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DROPFILES:
      ReceiveDrop(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_NCRBUTTONDOWN:
      // Over a caption the default procedure would capture the mouse and eat
      // the release, so WM_NCRBUTTONUP below would never come and the
      // unlocked box would show no menu.
      return 0;
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP:
      // Over the frame always; over the client area (the locked box) only
      // when m asks for it. The default procedure never sees the release.
      if (RightReleaseOpensMenu(message == WM_RBUTTONUP)) ShowContextMenu();
      return 0;
    case WM_NCHITTEST:
      return MapHitTest(window, wparam, lparam);
    case WM_NCLBUTTONDOWN:
      // The body and frame of the unlocked box: a move or resize only once
      // the pointer has left the drag rectangle.
      if (PressOnUnlockedBox(window, static_cast<LRESULT>(wparam), lparam)) return 0;
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONDBLCLK:
      ToggleLockFrame(window);
      return 0;
    case WM_COMMAND:
      if (RunDropBoxCommand(LOWORD(wparam)) || !IsWindow(window)) return 0;
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_CONTEXTMENU:
      // The right button's release opens the menu above; this comes from
      // the keyboard, at (-1, -1), where something else than the keys below
      // asks (an assistive tool, say).
      if (lparam == -1) MenuKeyPressed();
      return 0;
    case WM_KEYDOWN:
      if (KeyPressed(wparam)) return 0;
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // The menu key and Shift+F10 open the menu as they are let go, as the
      // default procedure would through WM_CONTEXTMENU (which not every
      // implementation sends); it never sees them.
      if (KeyReleased(wparam)) return 0;
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_GETOBJECT:
      return AnswerAccessibility(window, wparam, lparam);
    case WM_DPICHANGED: {
      // Moved to a screen of another scale: the system proposes the rectangle
      // that keeps the box's size in 96-DPI pixels.
      const RECT* r = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
      return 0;
    }
    case WM_PAINT:
      PaintBox(window);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      PlaceTip();
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_TIMER:
      if (wparam == kLateStartTimer) {
        KillTimer(window, kLateStartTimer);
        LateStart(window);
      } else {
        FeedbackTimer(wparam);
      }
      return 0;
    case WM_MOUSEMOVE:
      PointerMoved(false);
      return 0;
    case WM_NCMOUSEMOVE:
      PointerMoved(true);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_MOUSELEAVE:
      PointerLeft();
      return 0;
    case WM_NCMOUSELEAVE:
      PointerLeft();
      return DefWindowProcA(window, message, wparam, lparam);
    case kRunWindowTasksMessage:
      if (Box) Box->RunWindowTasks();
      RefreshBox();
      return 0;
    case kDeliverDropMessage:
      DeliverDrops();
      return 0;
    case WM_DESTROY:
      // The box is gone from the screen; the current file of running work is
      // finished and the rest skipped before the program ends.
      if (Box) Box->Stop();
      InstallWindowWaker(nullptr);
      RevokeDropTarget(window);
      EndFeedback();
      Box.reset();
      PostQuitMessage(0);
      return 0;
    case WM_QUERYENDSESSION:
      // The session ends (a logout, a shutdown): work running now is given
      // up at its next block and its temporary removed before the answer,
      // since the system may end the program soon after it.
      if (Box) Box->Stop(StopAt::kNextBlock);
      return TRUE;
    case WM_ENDSESSION:
      // It does end: as a close, without saving the place and size.
      if (wparam) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      // The default destroys the box without saving; running work ends with
      // the file it copies.
      if (Box) Box->AskToStop();
      return DefWindowProcA(window, message, wparam, lparam);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
