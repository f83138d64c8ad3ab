// The settings window on Windows: a dialog from its template (its frame, the
// system's dialog font, OK, Cancel and Apply) whose rows are made from the
// settings form's table as it opens (settings_layout.cpp). It only
// translates: what each row means, what a drop would do and what is written
// are the form's (app/common/settings_form.h).
#include "app/win32/settings_window.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/common/box_opacity.h"
#include "app/common/settings_form.h"
#include "app/win32/settings_ids.h"
#include "platform/win32/wide_text.h"
#include "settings/settings_record.h"

HWND SettingsWindow = nullptr;

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

std::unique_ptr<SettingsWindowState> State;

// A static breaks lines at CR LF.
std::wstring Lines(const std::string& text) {
  std::string lines;
  for (const char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return Widen(lines);
}

void ShowProblem(const std::string& problem) {
  SetWindowTextW(State->problem, Lines(problem).c_str());
  ShowWindow(State->problem, problem.empty() ? SW_HIDE : SW_SHOW);
}

void ShowPreview() {
  const SettingsForm& form = State->form;
  SetWindowTextW(State->preview, Lines(form.Preview()).c_str());
  ShowProblem(form.Problem());
  EnableWindow(GetDlgItem(SettingsWindow, IDC_SETTINGS_APPLY), form.Changed());
}

void ShowForm() {
  State->showing = true;
  const SettingsForm& form = State->form;
  for (size_t row = 0; row < State->rows.size(); ++row) {
    const RowControls& c = State->rows[row];
    switch (FormRows()[row].kind) {
      case RowKind::kChoice:
        SendMessageW(c.main, CB_RESETCONTENT, 0, 0);
        for (const std::string& name : form.ChoiceNames(row)) {
          SendMessageW(c.main, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
        }
        SendMessageW(c.main, CB_SETCURSEL, static_cast<WPARAM>(form.ChoiceIndex(row)), 0);
        break;
      case RowKind::kSwitch:
      case RowKind::kSession:
        SendMessageW(c.main, BM_SETCHECK, form.IsOn(row) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case RowKind::kFolder:
        SetWindowTextW(c.main, Widen(form.Folder(row)).c_str());
        break;
      case RowKind::kPercent:
        SendMessageW(c.main, TBM_SETPOS, TRUE, form.Position(row));
        SetWindowTextW(c.value, Widen(form.PercentText(row)).c_str());
        break;
    }
  }
  State->showing = false;
  ShowPreview();
}

std::string TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

// The box shows an opacity: while the slider moves, and its own again after.
void ShowOpacity(int16_t t) {
  if (IsWindow(DropBoxWindow))
    SetLayeredWindowAttributes(DropBoxWindow, 0, ShownAlphaFor(t), LWA_ALPHA);
}

// Saves the choices; true when everything chosen was done.
bool Save() {
  const FormApplied applied = ApplyForm(State->form);
  if (applied.reload) {
    // As Reload Settings: opacity, frame and size now; the place stays.
    ApplySettings();
    if (Box) Box->SettingsApplied();
  }
  if (applied.problem.empty() || applied.reload) ShowForm();
  ShowProblem(applied.problem);
  return applied.problem.empty();
}

void Close() {
  ShowOpacity(SettingsRecord.t);
  DestroyWindow(SettingsWindow);
}

// A control changed: the form hears of it.
void Changed(int id, int code, HWND control) {
  if (State->showing || id < IDC_SETTINGS_ROWS) return;
  const auto row = static_cast<size_t>((id - IDC_SETTINGS_ROWS) / kIdsPerRow);
  const auto part = static_cast<SettingsPart>((id - IDC_SETTINGS_ROWS) % kIdsPerRow);
  if (row >= State->rows.size()) return;
  SettingsForm& form = State->form;
  const FormRow& r = FormRows()[row];
  if (part == kBrowsePart && code == BN_CLICKED) {
    const HWND field = State->rows[row].main;
    if (const auto chosen = PickFolder(SettingsWindow, r.browse_name, form.Folder(row))) {
      SetWindowTextW(field, Widen(*chosen).c_str());
    }
    return;  // the field's change tells the form
  }
  if (part != kMainPart) return;
  if (r.kind == RowKind::kChoice && code == CBN_SELCHANGE) {
    form.Choose(row, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
  } else if ((r.kind == RowKind::kSwitch || r.kind == RowKind::kSession) && code == BN_CLICKED) {
    form.SetOn(row, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
  } else if (r.kind == RowKind::kFolder && code == EN_CHANGE) {
    form.SetFolder(row, TextOf(control));
  } else {
    return;
  }
  ShowPreview();
}

void SliderMoved(HWND slider) {
  if (State->showing) return;
  for (size_t row = 0; row < State->rows.size(); ++row) {
    if (State->rows[row].main != slider) continue;
    SettingsForm& form = State->form;
    form.SetPercent(row, static_cast<int32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0)));
    SetWindowTextW(State->rows[row].value, Widen(form.PercentText(row)).c_str());
    ShowOpacity(form.Opacity());
    ShowPreview();
  }
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SettingsWindow = dialog;
      SetWindowTextW(dialog, Widen(kSettingsTitle).c_str());
      LayOutSettingsWindow(dialog, *State);
      ShowForm();
      return TRUE;  // the focus goes to the first control
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
          if (Save()) Close();
          return TRUE;
        case IDCANCEL:
          Close();
          return TRUE;
        case IDC_SETTINGS_APPLY:
          Save();
          return TRUE;
        default:
          Changed(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
          return TRUE;
      }
    case WM_HSCROLL:
      if (lparam != 0) SliderMoved(reinterpret_cast<HWND>(lparam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // The problem in red, on the dialog's own background.
      if (State && reinterpret_cast<HWND>(lparam) == State->problem) {
        const auto dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, RGB(176, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_DESTROY:
      SettingsWindow = nullptr;
      State.reset();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowSettingsWindow() {
  if (SettingsWindow == nullptr) {
    InitCommonControlsOnce();
    State = std::make_unique<SettingsWindowState>();
    State->form.Load(SettingsRecord, ReadSessionStates());
    State->rows.resize(FormRows().size());
    CreateDialogParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_SETTINGS), DropBoxWindow, SettingsProc,
                       0);
    if (SettingsWindow == nullptr) {
      State.reset();
      return;
    }
  }
  ShowWindow(SettingsWindow, SW_SHOW);
  SetForegroundWindow(SettingsWindow);
}
