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

void OpenMenuAtBox() {
  const ScreenRect outer = WindowRectOf(DropBoxWindow);
  ShowContextMenuAt({outer.MiddleX(), outer.MiddleY()});
}

}  // namespace

bool KeyPressed(WPARAM key) {
  if (!Box || CommandForKey(KeyOf(key), Held(VK_CONTROL), Held(VK_SHIFT), Held(VK_MENU)) !=
                  KeyCommand::kPaste) {
    return false;
  }
  Box->Paste();
  RefreshBox();
  return true;
}

bool KeyReleased(WPARAM key) {
  const BoxKey which = KeyOf(key);
  if (which != BoxKey::kMenu && which != BoxKey::kF10) return false;
  // Either key is the box's, whatever the rule then says.
  if (CommandForKey(which, Held(VK_CONTROL), Held(VK_SHIFT), Held(VK_MENU)) ==
      KeyCommand::kOpenMenu) {
    OpenMenuAtBox();
  }
  return true;
}

void MenuKeyPressed() {
  // The system sends the menu key and Shift+F10 here as one request.
  if (CommandForKey(BoxKey::kMenu, false, false, false) == KeyCommand::kOpenMenu) OpenMenuAtBox();
}
