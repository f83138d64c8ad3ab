#include "app/common/menu_commands.h"

#include <array>
#include <string>

#include "app/common/program.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "settings/settings_file.h"
#include "text/file_system.h"
#include "text/strings.h"

const char* const kHiddenMenuText = "invisible menu";

namespace {

const std::array<MenuItem, 7> kItems = {{
    {IDM_OPEN_SETTINGS, "Open Settings"},
    {IDM_HELP, "Help"},
    {IDM_RELOAD_SETTINGS, "Reload Settings"},
    {IDM_OPEN_README, "Open ReadMe File"},
    {IDM_ABOUT, "About"},
    {0, nullptr},
    {IDM_EXIT, "&Exit"},
}};

}  // namespace

std::span<const MenuItem> ContextMenuItems() { return kItems; }

bool RunMenuCommand(int id, ShellWindow& shell) {
  switch (id) {
    case IDM_OPEN_SETTINGS:
      // The file shows where the box is now, not where it was at start.
      SaveCoordinates(shell.OuterRect());
      platform::OpenWithDefaultApp(IniPath);
      return false;
    case IDM_HELP:
    case IDM_ABOUT:
      ShowAbout();
      return false;
    case IDM_RELOAD_SETTINGS:
      LoadSettings();
      shell.ApplySettings();
      ReportSettingsProblem();
      return false;
    case IDM_OPEN_README:
      OpenReadMe();
      return false;
    case IDM_EXIT:
      SaveCoordinates(shell.OuterRect());
      shell.Destroy();
      return true;
    default:
      return false;
  }
}

void ShowAbout() {
  ShowMessage(JoinText(5, AboutTitleLine.c_str(), LineBreak,
                       "A configurable drag-box to capture the path of a file.", LineBreak,
                       "For help and other info, see the ReadMe file."),
              "About Quorlith", platform::kBoxOk | platform::kBoxIconInformation);
}

void OpenReadMe() {
  // The current folder first; then beside the program, where the warning
  // below tells the user to put it.
  std::string readme = ReadMeName;
  if (FileExists(readme.c_str()) == 0) readme = std::string(AppDir()) + ReadMeName;
  if (FileExists(readme.c_str()) == 1) {
    platform::OpenWithDefaultApp(readme);
    return;
  }
  ShowMessage(JoinText(5, "Sorry, you've misplaced the Read Me File!", LineBreak,
                       JoinText(2, "It is called ", ReadMeName.c_str()), LineBreak,
                       "Make sure its in the same folder as Quorlith."),
              "Quorlith", platform::kBoxOk | platform::kBoxIconWarning);
}
