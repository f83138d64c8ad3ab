// The settings window's layout: its rows made from the form's table as it
// opens, in dialog units, so that the window follows the screen's scale with
// its font; its fields, lists and sliders named by their labels' meaning.
#include "app/win32/settings_window.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/win32/settings_ids.h"
#include "platform/win32/wide_text.h"

namespace {

using platform::win32::Widen;

// The layout, in dialog units.
constexpr int kMargin = 7;
constexpr int kLabelWidth = 62;
constexpr int kFieldWidth = 126;
constexpr int kGap = 4;
constexpr int kGroupPad = 6;
constexpr int kGroupTop = 11;
constexpr int kLineHeight = 12;
constexpr int kCheckHeight = 10;
constexpr int kSliderHeight = 15;
constexpr int kBrowseWidth = 44;
constexpr int kValueWidth = 40;
constexpr int kPreviewLines = 4;
constexpr int kProblemHeight = 24;  // three lines, beside the buttons
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kRowWidth = kLabelWidth + kGap + kFieldWidth;
constexpr int kGroupWidth = kRowWidth + 2 * kGroupPad;

// Controls named otherwise than by their text, and the procedure each had.
struct NamedControl {
  std::string name;
  WNDPROC original;
};
std::map<HWND, NamedControl> Named;

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto found = Named.find(control);
  if (found == Named.end()) return DefWindowProcW(control, message, wparam, lparam);
  const WNDPROC original = found->second.original;
  if (message == WM_GETOBJECT) {
    LRESULT answer = 0;
    if (AnswerAccessibilityNamed(control, wparam, lparam, found->second.name, answer)) {
      return answer;
    }
  }
  if (message == WM_NCDESTROY) Named.erase(found);
  return CallWindowProcW(original, control, message, wparam, lparam);
}

// Screen readers name control as name.
void NameControl(HWND control, const std::string& name) {
  const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
  Named[control] = {name, original};
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NamedControlProc));
}

// Makes controls at places given in dialog units, in the dialog's font, one
// after the other in the order Tab visits them.
class Maker {
 public:
  explicit Maker(HWND dialog)
      : dialog_(dialog), font_(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))) {}

  HWND Make(const wchar_t* window_class, const std::string& text, DWORD style, int id, int x, int y,
            int w, int h, DWORD ex_style = 0) {
    RECT r = {x, y, x + w, y + h};
    MapDialogRect(dialog_, &r);
    HWND control = CreateWindowExW(
        ex_style, window_class, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
        r.right - r.left, r.bottom - r.top, dialog_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Follow(control);
    return control;
  }
  // Puts an existing control next in the order.
  void Follow(HWND control) {
    SetWindowPos(control, last_ != nullptr ? last_ : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    last_ = control;
  }
  // Moves an existing control to a place in dialog units.
  void Place(HWND control, int x, int y, int w, int h) const {
    RECT r = {x, y, x + w, y + h};
    MapDialogRect(dialog_, &r);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  HWND dialog_;
  HFONT font_;
  HWND last_ = nullptr;
};

int RowHeight(RowKind kind) {
  switch (kind) {
    case RowKind::kSwitch:
    case RowKind::kSession:
      return kCheckHeight;
    case RowKind::kPercent:
      return kSliderHeight;
    case RowKind::kFolder:
      return kButtonHeight;
    case RowKind::kChoice:
      break;
  }
  return kLineHeight;
}

// Makes row's controls at x, y; returns its height.
int MakeRow(Maker& maker, SettingsWindowState& state, size_t row, int x, int y) {
  const FormRow& r = FormRows()[row];
  RowControls& c = state.rows[row];
  const int field_x = x + kLabelWidth + kGap;
  const int height = RowHeight(r.kind);
  if (r.kind == RowKind::kSwitch || r.kind == RowKind::kSession) {
    c.main = maker.Make(L"BUTTON", r.label, BS_AUTOCHECKBOX | WS_TABSTOP,
                        SettingsControlId(row, kMainPart), x, y, kRowWidth, height);
    return height;
  }
  // The label first: its access key moves to the field after it.
  maker.Make(L"STATIC", r.label, SS_LEFT, SettingsControlId(row, kLabelPart), x, y + 2, kLabelWidth,
             8);
  switch (r.kind) {
    case RowKind::kChoice:
      // The height given is the open list's; the closed one takes the font's.
      c.main = maker.Make(WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                          SettingsControlId(row, kMainPart), field_x, y, kFieldWidth, 120);
      break;
    case RowKind::kFolder:
      c.main = maker.Make(WC_EDITW, "", ES_AUTOHSCROLL | WS_TABSTOP,
                          SettingsControlId(row, kMainPart), field_x, y + 1,
                          kFieldWidth - kBrowseWidth - kGap, kLineHeight, WS_EX_CLIENTEDGE);
      c.browse = maker.Make(L"BUTTON", r.browse, BS_PUSHBUTTON | WS_TABSTOP,
                            SettingsControlId(row, kBrowsePart), x + kRowWidth - kBrowseWidth, y,
                            kBrowseWidth, kButtonHeight);
      NameControl(c.browse, r.browse_name);
      break;
    case RowKind::kPercent:
      c.main = maker.Make(TRACKBAR_CLASSW, "", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP,
                          SettingsControlId(row, kMainPart), field_x, y, kFieldWidth - kValueWidth,
                          height);
      SendMessageW(c.main, TBM_SETRANGE, FALSE, MAKELPARAM(r.low, r.high));
      SendMessageW(c.main, TBM_SETPAGESIZE, 0, 10);
      c.value = maker.Make(L"STATIC", "", SS_LEFT | SS_NOPREFIX, SettingsControlId(row, kValuePart),
                           x + kRowWidth - kValueWidth + kGap, y + 3, kValueWidth - kGap, 8);
      break;
    default:
      break;
  }
  NameControl(c.main, SpokenName(r.label));
  return height;
}

// Makes the rows group by group in two columns, the preview under them and
// the buttons at the foot, and sizes the window to hold them.
void LayOut(HWND dialog, SettingsWindowState& state) {
  Maker maker(dialog);
  const std::span<const FormGroup> groups = FormGroups();
  int column_y[2] = {kMargin, kMargin};
  for (size_t g = 0; g < groups.size(); ++g) {
    const int column = groups[g].column == 0 ? 0 : 1;
    const int x = kMargin + column * (kGroupWidth + kMargin);
    const int top = column_y[column];
    HWND frame = maker.Make(L"BUTTON", groups[g].title, BS_GROUPBOX, -1, x, top, kGroupWidth, 0);
    int y = top + kGroupTop;
    for (size_t row = 0; row < FormRows().size(); ++row) {
      if (FormRows()[row].group != static_cast<int>(g)) continue;
      y += MakeRow(maker, state, row, x + kGroupPad, y) + kGap;
    }
    const int height = y - top + kGroupPad - kGap;
    maker.Place(frame, x, top, kGroupWidth, height);
    column_y[column] = top + height + kGap;
  }
  const int width = 2 * kGroupWidth + kMargin;
  int y = std::max(column_y[0], column_y[1]) + kGap;
  const int preview_height = kPreviewLines * 8 + 4;
  maker.Make(L"BUTTON", kPreviewTitle, BS_GROUPBOX, -1, kMargin, y, width,
             kGroupTop + preview_height + kGroupPad);
  state.preview =
      maker.Make(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_SETTINGS_PREVIEW, kMargin + kGroupPad,
                 y + kGroupTop, width - 2 * kGroupPad, preview_height);
  y += kGroupTop + preview_height + kGroupPad + kGap;
  // The problem, when there is one, beside the buttons.
  const int buttons_width = 3 * (kButtonWidth + kGap);
  state.problem = maker.Make(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_SETTINGS_PROBLEM, kMargin, y,
                             width - buttons_width, kProblemHeight);
  y += kProblemHeight - kButtonHeight;
  const int ids[] = {IDOK, IDCANCEL, IDC_SETTINGS_APPLY};
  const char* labels[] = {kOkLabel, kCancelLabel, kApplyLabel};
  for (int i = 0; i < 3; ++i) {
    HWND button = GetDlgItem(dialog, ids[i]);
    SetWindowTextW(button, Widen(labels[i]).c_str());
    maker.Place(button, kMargin + width - (3 - i) * (kButtonWidth + kGap) + kGap, y, kButtonWidth,
                kButtonHeight);
    maker.Follow(button);
  }
  y += kButtonHeight + kMargin;
  // The window's outer size for a client area of width x y dialog units.
  RECT client = {0, 0, width + 2 * kMargin, y};
  MapDialogRect(dialog, &client);
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Puts the window on the box's screen, beside the box where it fits.
void PlaceNearBox(HWND dialog) {
  RECT box = {}, window = {};
  GetWindowRect(DropBoxWindow, &box);
  GetWindowRect(dialog, &window);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(DropBoxWindow, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const BoxPlace at =
      WindowPlace({box.left, box.top, box.right - box.left, box.bottom - box.top},
                  {window.right - window.left, window.bottom - window.top},
                  {work.left, work.top, work.right - work.left, work.bottom - work.top});
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int SettingsControlId(size_t row, SettingsPart part) {
  return IDC_SETTINGS_ROWS + static_cast<int>(row) * kIdsPerRow + part;
}

void LayOutSettingsWindow(HWND dialog, SettingsWindowState& state) {
  LayOut(dialog, state);
  PlaceNearBox(dialog);
}
