// The drop box's context menu: built once at start-up, opened at the pointer,
// its commands carried out by the box's command code.
#include "app/common/menu_commands.h"
#include "app/win32/drop_box_shell.h"

HMENU HiddenMenu = nullptr;
HMENU ContextMenu = nullptr;

void BuildContextMenu() {
  HiddenMenu = CreateMenu();
  ContextMenu = CreateMenu();
  for (const MenuItem& item : ContextMenuItems()) {
    if (item.id == 0) {
      AppendMenuA(ContextMenu, MF_SEPARATOR, 0, "");
    } else {
      AppendMenuA(ContextMenu, MF_STRING, static_cast<UINT_PTR>(item.id), item.text);
    }
  }
  InsertMenuA(HiddenMenu, 0, MF_POPUP, reinterpret_cast<UINT_PTR>(ContextMenu), kHiddenMenuText);
}

void ShowContextMenu() {
  // Where the pointer is now, not where the message says it was.
  POINT at = {};
  GetCursorPos(&at);
  ShowContextMenuAt(at);
}

void ShowContextMenuAt(POINT at) {
  // Without this the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(DropBoxWindow);
  TrackPopupMenuEx(ContextMenu, TPM_RIGHTBUTTON, at.x, at.y, DropBoxWindow, nullptr);
  // Lets the menu's foreground switch settle before the next user action.
  PostMessageA(DropBoxWindow, WM_NULL, 0, 0);
}

bool RunDropBoxCommand(int id) {
  switch (RunMenuCommand(id, OuterRect96(DropBoxWindow))) {
    case MenuEffect::kApplySettings:
      ApplySettings();
      Box->SettingsApplied();
      return false;
    case MenuEffect::kEnd:
      // Hiding the box can take a window manager a moment; the file being
      // copied meanwhile is the last.
      Box->AskToStop();
      DestroyWindow(DropBoxWindow);
      return true;
    case MenuEffect::kShowSettings:
      ShowSettingsWindow();
      break;
    case MenuEffect::kNone:
      break;
  }
  return false;
}
