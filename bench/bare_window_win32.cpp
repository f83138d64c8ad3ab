// A bare Win32 window of the drop box's styles: a popup with a dialog frame,
// layered at three quarters, with a client edge, as a tool window that takes
// dropped files, 75 x 75 at X, Y and topmost. It does nothing else.
//
//   quorlith_bench_bare_window.exe X Y
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int x = 244;
  int y = 200;
  if (__argc >= 3) {
    x = std::atoi(__argv[1]);
    y = std::atoi(__argv[2]);
  }
  WNDCLASSEXW form = {};
  form.cbSize = sizeof form;
  form.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC | CS_DBLCLKS;
  form.lpfnWndProc = BareProc;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  form.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  form.lpszClassName = L"QuorlithBare";
  RegisterClassExW(&form);
  HWND window = CreateWindowExW(0x80290, L"QuorlithBare", L"bare", 0x80400000, x, y, 75, 75,
                                nullptr, nullptr, instance, nullptr);
  SetLayeredWindowAttributes(window, 0, 191, LWA_ALPHA);
  DragAcceptFiles(window, TRUE);
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 75, 75, SWP_NOMOVE);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
