// What the box does with the keyboard while it has the focus.
#pragma once

// The keys the box knows, as each toolkit names them.
enum class BoxKey { kV, kInsert, kF10, kMenu, kOther };

enum class KeyCommand {
  kNone,
  kPaste,     // the files copied in a file manager, taken as a drop
  kOpenMenu,  // the menu, at the box
};

// Ctrl+V and Shift+Insert paste; the menu key and Shift+F10 open the menu,
// under the rule of a right-click (the unlocked box always, the locked one
// when m is 1).
KeyCommand CommandForKey(BoxKey key, bool ctrl, bool shift, bool alt);
