#include "app/common/box_keys.h"

#include "app/common/box_lock.h"

KeyCommand CommandForKey(BoxKey key, bool ctrl, bool shift, bool alt) {
  if (alt) return KeyCommand::kNone;
  if ((key == BoxKey::kV && ctrl && !shift) || (key == BoxKey::kInsert && shift && !ctrl)) {
    return KeyCommand::kPaste;
  }
  const bool menu_key =
      (key == BoxKey::kMenu && !ctrl && !shift) || (key == BoxKey::kF10 && shift && !ctrl);
  // The whole locked box is client area, where m decides.
  if (menu_key && RightReleaseOpensMenu(!UnlockedMode())) return KeyCommand::kOpenMenu;
  return KeyCommand::kNone;
}
