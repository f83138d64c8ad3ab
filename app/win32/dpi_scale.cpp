// Sizes that mean the same on every screen. The program is per-monitor DPI
// aware, so the system hands it real screen pixels; the settings file keeps
// 96-DPI pixels, as a program without DPI awareness sees them. The DPI calls
// of newer systems are looked up at run time, so the program still starts
// where they are missing (it then scales by the system's DPI alone).
#include "app/win32/drop_box_shell.h"

namespace {

constexpr int kBaseDpi = 96;

using DpiOfWindow = UINT(WINAPI*)(HWND);
using DpiOfSystem = UINT(WINAPI*)();

// A function of user32 by name; null where this system has none.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int SystemDpi() {
  static const DpiOfSystem of_system = User32Function<DpiOfSystem>("GetDpiForSystem");
  if (of_system != nullptr) return static_cast<int>(of_system());
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
  static const DpiOfWindow of_window = User32Function<DpiOfWindow>("GetDpiForWindow");
  const int dpi = of_window != nullptr ? static_cast<int>(of_window(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int ToScreenPixels(int pixels, int dpi) { return MulDiv(pixels, dpi, kBaseDpi); }
int ToBasePixels(int pixels, int dpi) { return MulDiv(pixels, kBaseDpi, dpi); }
