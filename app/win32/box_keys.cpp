// The keyboard while the box has the focus: Windows names the keys, the box
// says what they do (box_keys.h).
#include "app/common/box_keys.h"

#include "app/win32/drop_box_shell.h"

namespace {

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

BoxKey KeyOf(WPARAM key) {
  switch (key) {
    case 'V':
      return BoxKey::kV;
    case VK_INSERT:
      return BoxKey::kInsert;
    case VK_F10:
      return BoxKey::kF10;
    case VK_APPS:
      return BoxKey::kMenu;
    default:
      return BoxKey::kOther;
  }
}

}  // namespace

bool KeyPressed(WPARAM key) {
  // The menu key and Shift+F10 come back as WM_CONTEXTMENU when the default
  // procedure has seen them: they are left to it.
  if (!Box || key == VK_APPS || key == VK_F10) return false;
  if (CommandForKey(KeyOf(key), Held(VK_CONTROL), Held(VK_SHIFT), Held(VK_MENU)) !=
      KeyCommand::kPaste) {
    return false;
  }
  Box->Paste();
  RefreshBox();
  return true;
}

void MenuKeyPressed() {
  // The system sends the menu key and Shift+F10 here as one request.
  if (CommandForKey(BoxKey::kMenu, false, false, false) != KeyCommand::kOpenMenu) return;
  RECT box;
  GetWindowRect(DropBoxWindow, &box);
  ShowContextMenuAt({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}
