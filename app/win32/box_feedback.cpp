// What the box says it shows, on Windows: its look painted over the class
// background in WM_PAINT (the frame stays the system's), its tip in a
// tracking tooltip beside the box, and a timer for when to look again.
#include "app/win32/drop_box_shell.h"

#include <commctrl.h>

#include <chrono>

#include "platform/win32/wide_text.h"

namespace {

constexpr UINT_PTR kWakeTimer = 1;
constexpr int kTipGap = 4;  // between the box and its tip, in 96-DPI pixels

HWND Tip = nullptr;  // the tooltip control, made when first shown
bool TipShown = false;
bool TrackingLeave = false;

COLORREF Blend(COLORREF under, COLORREF over, int share) {
  const auto mix = [share](int a, int b) { return (a * (100 - share) + b * share) / 100; };
  return RGB(mix(GetRValue(under), GetRValue(over)), mix(GetGValue(under), GetGValue(over)),
             mix(GetBValue(under), GetBValue(over)));
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

bool PointerOver() {
  POINT at;
  RECT box;
  return IsWindowVisible(DropBoxWindow) && GetCursorPos(&at) &&
         GetWindowRect(DropBoxWindow, &box) && PtInRect(&box, at);
}

TTTOOLINFOW ToolInfo(std::wstring* text) {
  TTTOOLINFOW info = {};
  info.cbSize = sizeof info;
  // A click on the tip goes to the window below it.
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  info.hwnd = DropBoxWindow;
  info.uId = 1;
  info.lpszText = text != nullptr ? text->data() : nullptr;
  return info;
}

// Where the tip goes beside the box as it is now, in screen pixels.
POINT TipPoint() {
  RECT box = {};
  GetWindowRect(DropBoxWindow, &box);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(DropBoxWindow, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  TTTOOLINFOW info = ToolInfo(nullptr);
  const auto size =
      static_cast<DWORD>(SendMessageW(Tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&info)));
  const BoxPlace at = TipPlace(
      {box.left, box.top, box.right - box.left, box.bottom - box.top}, {LOWORD(size), HIWORD(size)},
      {work.left, work.top, work.right - work.left, work.bottom - work.top},
      ToScreenPixels(kTipGap, WindowDpi(DropBoxWindow)));
  return {at.x, at.y};
}

void ShowTip(const std::string& tip_text) {
  if (Tip == nullptr) {
    InitCommonControlsOnce();
    Tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, DropBoxWindow, nullptr, ProgramInstance,
                          nullptr);
    std::wstring none;
    TTTOOLINFOW info = ToolInfo(&none);
    SendMessageW(Tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  std::wstring text = platform::win32::Widen(tip_text);
  TTTOOLINFOW info = ToolInfo(&text);
  SendMessageW(Tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  TipShown = true;
  PlaceTip();
  SendMessageW(Tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void HideTip() {
  if (!TipShown) return;
  TTTOOLINFOW info = ToolInfo(nullptr);
  SendMessageW(Tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  TipShown = false;
}

}  // namespace

void PlaceTip() {
  if (!TipShown) return;
  const POINT at = TipPoint();
  SendMessageW(Tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
}

void RefreshBox() {
  if (!Box || !IsWindow(DropBoxWindow)) return;
  const BoxFeedback::Frame frame = Box->Update(PointerOver());
  if (frame.repaint) InvalidateRect(DropBoxWindow, nullptr, TRUE);
  if (frame.tip == BoxFeedback::TipChange::kShow) ShowTip(frame.tip_text);
  if (frame.tip == BoxFeedback::TipChange::kHide) HideTip();
  if (frame.wake_in) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*frame.wake_in).count();
    SetTimer(DropBoxWindow, kWakeTimer, static_cast<UINT>(ms > 0 ? ms : 1), nullptr);
  } else {
    KillTimer(DropBoxWindow, kWakeTimer);
  }
}

void FeedbackTimer(UINT_PTR id) {
  if (id != kWakeTimer) return;
  KillTimer(DropBoxWindow, kWakeTimer);
  RefreshBox();
}

void PointerMoved(bool over_frame) {
  if (!Box) return;
  // Told when the pointer leaves, where the system tells it.
  if (!TrackingLeave) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, DropBoxWindow, 0};
    if (over_frame) track.dwFlags |= TME_NONCLIENT;
    TrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  Box->PointerMoved();
  RefreshBox();
}

void PointerLeft() {
  TrackingLeave = false;
  if (!Box) return;
  Box->PointerLeft();
  RefreshBox();
}

void EndFeedback() {
  HideTip();
  if (Tip != nullptr) DestroyWindow(Tip);
  Tip = nullptr;
  TrackingLeave = false;
}

void PaintBox(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const BoxFeedback::Look look = Box ? Box->Look() : BoxFeedback::Look();
  RECT body;
  GetClientRect(window, &body);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  // The class brush has erased the body; only what differs is painted.
  for (const BoxFeedback::Band& band : BoxFeedback::BandsOf(look, body.right - body.left)) {
    const RECT part = {body.left + band.from, body.top, body.left + band.to, body.bottom};
    Fill(dc, part, Blend(face, highlight, band.share));
  }
  EndPaint(window, &paint);
}
