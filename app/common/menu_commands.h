// The context menu: its items, and what each command does in either program.
#pragma once

#include <span>

#include "app/common/box_geometry.h"

enum MenuCommandId : int {
  IDM_OPEN_SETTINGS = 1005,
  IDM_HELP = 1006,
  IDM_RELOAD_SETTINGS = 1007,
  IDM_OPEN_README = 1008,
  IDM_ABOUT = 1009,
  IDM_EXIT = 1010,
  IDM_SETTINGS = 1011,
};

// One item of the menu, top to bottom; the separator has id 0 and no text.
struct MenuItem {
  int id;
  const char* text;
};
std::span<const MenuItem> ContextMenuItems();

// The text of the popup that holds the menu in a menu bar nobody sees.
extern const char* const kHiddenMenuText;

// What the window must do once a command has done its part.
enum class MenuEffect {
  kNone,
  kApplySettings,  // bring the box in line with SettingsRecord (Reload Settings)
  kEnd,            // destroy the box, which ends the program (Exit)
  kShowSettings,   // show the settings window, or bring the open one to the front
};
// Carries out a menu command; outer is the box's outer rectangle now, which
// Open Settings and Exit save first. Any other id does nothing.
MenuEffect RunMenuCommand(int id, const ScreenRect& outer);

// The About box (Help and About show the same one).
void ShowAbout();
// Opens the readme with its application, or says where it should be.
void OpenReadMe();
