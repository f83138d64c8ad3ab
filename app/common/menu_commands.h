// The context menu: its items, and what each command does in either shell.
#pragma once

#include <span>

#include "settings/settings_file.h"

enum MenuCommandId : int {
  IDM_OPEN_SETTINGS = 1005,
  IDM_HELP = 1006,
  IDM_RELOAD_SETTINGS = 1007,
  IDM_OPEN_README = 1008,
  IDM_ABOUT = 1009,
  IDM_EXIT = 1010,
};

// One item of the menu, top to bottom; the separator has id 0 and no text.
struct MenuItem {
  int id;
  const char* text;
};
std::span<const MenuItem> ContextMenuItems();

// The text of the popup that holds the menu in a menu bar nobody sees.
extern const char* const kHiddenMenuText;

// What a command needs from the shell that runs it.
class ShellWindow {
 public:
  virtual ~ShellWindow() = default;
  // The drop box's outer rectangle in screen pixels.
  virtual WindowRect OuterRect() = 0;
  // Brings the box in line with SettingsRecord (opacity, frame, size, topmost).
  virtual void ApplySettings() = 0;
  // Destroys the box, which ends the program.
  virtual void Destroy() = 0;
};

// Carries out a menu command; any other id does nothing. Returns true when
// the command destroyed the box.
bool RunMenuCommand(int id, ShellWindow& shell);

// The About box (Help and About show the same one).
void ShowAbout();
// Opens the readme with its application, or says where it should be.
void OpenReadMe();
