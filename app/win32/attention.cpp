// Bringing the box to the front when a later start over the same settings
// file found it: raised above the others, given the foreground and flashed.
#include "app/win32/drop_box_shell.h"

namespace {

constexpr UINT_PTR kFlashTimer = 0x51;
constexpr UINT kPhaseMs = 120;
constexpr int kPhases = 6;  // lit, plain, lit, plain, lit, plain
int flash_phase = 0;

// Odd phases light the face in the highlight colour; even ones give it back
// to the box's own painting.
void ShowPhase(HWND window) {
  if (flash_phase % 2 == 1) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    FillRect(dc, &client, GetSysColorBrush(COLOR_HIGHLIGHT));
    ReleaseDC(window, dc);
  } else {
    InvalidateRect(window, nullptr, TRUE);
  }
}

void CALLBACK FlashTick(HWND window, UINT, UINT_PTR timer, DWORD) {
  if (++flash_phase > kPhases) {
    KillTimer(window, timer);
    flash_phase = 0;
    return;
  }
  ShowPhase(window);
}

}  // namespace

void ComeToFront(HWND window) {
  if (!IsWindow(window)) return;
  ShowWindow(window, SW_SHOW);
  // Out of the topmost band and back in: a box that is topmost already would
  // otherwise stay under a window that Wine does not know of.
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  flash_phase = 1;
  ShowPhase(window);
  SetTimer(window, kFlashTimer, kPhaseMs, FlashTick);
}
