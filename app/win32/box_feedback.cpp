// The drop box's feedback on Windows: the BoxFace painted over the class
// background in WM_PAINT (the frame stays the system's), kept moving by a
// timer while a flash runs or work goes on, and its tip in a tracking
// tooltip beside the box while the pointer is over it.
#include "app/win32/drop_box_shell.h"

#include <commctrl.h>

#include <cmath>

#include "actions/drop_work.h"
#include "app/common/box_face.h"
#include "platform/win32/wide_text.h"

namespace {

enum TimerId : UINT_PTR { kTickTimer = 1, kHoverTimer, kTipTimer };
constexpr UINT kTickMs = 50;
constexpr UINT kHoverMs = 600;
constexpr UINT kTipMs = 4000;
// How strongly each part covers the button face, in percent.
constexpr int kFillShare = 55;
constexpr int kHoverShare = 35;
constexpr int kFlashShare = 80;

BoxFace Face;
BoxFace::Look Painted;
HWND Tip = nullptr;  // the tooltip control, made when first shown
bool TipShown = false;
bool Ticking = false;

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
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  info.hwnd = DropBoxWindow;
  info.uId = 1;
  info.lpszText = text != nullptr ? text->data() : nullptr;
  return info;
}

void ShowTip(UINT hide_after_ms) {
  if (Face.Tip().empty()) return;
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
  std::wstring text = platform::win32::Widen(Face.Tip());
  TTTOOLINFOW info = ToolInfo(&text);
  SendMessageW(Tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  RECT box;
  GetWindowRect(DropBoxWindow, &box);
  SendMessageW(Tip, TTM_TRACKPOSITION, 0, MAKELPARAM(box.left, box.bottom + 4));
  SendMessageW(Tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  TipShown = true;
  if (hide_after_ms > 0)
    SetTimer(DropBoxWindow, kTipTimer, hide_after_ms, nullptr);
  else
    KillTimer(DropBoxWindow, kTipTimer);
}

void HideTip() {
  if (!TipShown) return;
  TTTOOLINFOW info = ToolInfo(nullptr);
  SendMessageW(Tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  TipShown = false;
}

void StartTicking() {
  if (Ticking) return;
  Ticking = SetTimer(DropBoxWindow, kTickTimer, kTickMs, nullptr) != 0;
}

void Tick() {
  const auto now = BoxFace::Clock::now();
  const bool working = DropWorkRunning();
  if (working) {
    const bool showed = Face.ShowsProgress();
    Face.SetProgress(ReadProgress());
    if (Face.ShowsProgress() && ((!showed && PointerOver()) || TipShown)) ShowTip(0);
  }
  const BoxFace::Look look = Face.LookAt(now);
  if (look.tint != Painted.tint ||
      static_cast<int>(look.done * 1000) != static_cast<int>(Painted.done * 1000)) {
    InvalidateRect(DropBoxWindow, nullptr, TRUE);
  }
  if (!working && !Face.Animating(now)) {
    KillTimer(DropBoxWindow, kTickTimer);
    Ticking = false;
  }
}

}  // namespace

void StartFeedback() {
  SetOutcomeListener([](const DropOutcome& outcome) {
    Face.SetOutcome(outcome, BoxFace::Clock::now());
    if (PointerOver() || TipShown) ShowTip(kTipMs);
    StartTicking();
    Tick();
  });
}

void EndFeedback() {
  SetOutcomeListener(nullptr);
  HideTip();
  if (Tip != nullptr) DestroyWindow(Tip);
  Tip = nullptr;
  Face = BoxFace();
  Painted = BoxFace::Look();
  Ticking = false;
}

void FeedbackHover(bool hover) {
  Face.SetHover(hover);
  Tick();
}

void FeedbackDropped() {
  Face.SetHover(false);
  Face.Flash(BoxFace::Clock::now());
  StartTicking();
  Tick();
}

void FeedbackWorkMayHaveBegun() {
  if (DropWorkRunning()) StartTicking();
}

void FeedbackPointerMoved() {
  if (!TipShown && !Face.Tip().empty()) SetTimer(DropBoxWindow, kHoverTimer, kHoverMs, nullptr);
}

void FeedbackTimer(UINT_PTR id) {
  switch (id) {
    case kTickTimer:
      Tick();
      break;
    case kHoverTimer:
      KillTimer(DropBoxWindow, kHoverTimer);
      if (PointerOver()) ShowTip(Face.ShowsProgress() ? 0 : kTipMs);
      break;
    case kTipTimer:
      KillTimer(DropBoxWindow, kTipTimer);
      HideTip();
      break;
    default:
      break;
  }
}

void PaintBox(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  Painted = Face.LookAt(BoxFace::Clock::now());
  RECT body;
  GetClientRect(window, &body);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const int tint = Painted.tint == BoxFace::Tint::kFlash   ? kFlashShare
                   : Painted.tint == BoxFace::Tint::kHover ? kHoverShare
                                                           : 0;
  // The class brush has erased the body; only what differs is painted.
  RECT done = body;
  done.right = done.left;
  if (Painted.done >= 0) {
    done.right =
        body.left + static_cast<LONG>(std::lround((body.right - body.left) * Painted.done));
    Fill(dc, done, Blend(Blend(face, highlight, kFillShare), highlight, tint));
  }
  if (tint > 0) {
    RECT rest = body;
    rest.left = done.right;
    Fill(dc, rest, Blend(face, highlight, tint));
  }
  EndPaint(window, &paint);
}

const std::string& BoxTip() { return Face.Tip(); }

BoxFace::Look BoxLook() { return Face.LookAt(BoxFace::Clock::now()); }
