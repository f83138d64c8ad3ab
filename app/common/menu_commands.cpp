#include "app/common/menu_commands.h"

#include <array>
#include <string>

#include "app/common/program.h"
#include "platform/file_query.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "settings/settings_file.h"
#include "text/file_system.h"
#include "text/strings.h"

const char* const kHiddenMenuText = "invisible menu";

namespace {

const std::array<MenuItem, 8> kItems = {{
    {IDM_SETTINGS, "&Settings..."},
    {IDM_OPEN_SETTINGS, "Open Settings"},
    {IDM_HELP, "Help"},
    {IDM_RELOAD_SETTINGS, "Reload Settings"},
    {IDM_OPEN_README, "Open ReadMe File"},
    {IDM_ABOUT, "About"},
    {0, nullptr},
    {IDM_EXIT, "&Exit"},
}};

// Opens a document with its application; when no program can open it, says
// so and names the file, rather than leaving the user with a menu that did
// nothing.
void OpenDocument(const std::string& path) {
  if (platform::OpenWithDefaultApp(path)) return;
  ShowMessage(JoinText(3, "No program could open the file", LineBreak, path), "Quorlith",
              platform::kBoxOk | platform::kBoxIconWarning);
}

}  // namespace

std::span<const MenuItem> ContextMenuItems() { return kItems; }

MenuEffect RunMenuCommand(int id, const ScreenRect& outer) {
  switch (id) {
    case IDM_SETTINGS:
      return MenuEffect::kShowSettings;
    case IDM_OPEN_SETTINGS:
      // The file shows where the box is now, not where it was at start.
      SaveCoordinates(outer.x, outer.y, outer.w, outer.h);
      OpenDocument(IniPath);
      return MenuEffect::kNone;
    case IDM_HELP:
    case IDM_ABOUT:
      ShowAbout();
      return MenuEffect::kNone;
    case IDM_RELOAD_SETTINGS:
      LoadSettings();
      return MenuEffect::kApplySettings;
    case IDM_OPEN_README:
      OpenReadMe();
      return MenuEffect::kNone;
    case IDM_EXIT:
      SaveCoordinates(outer.x, outer.y, outer.w, outer.h);
      return MenuEffect::kEnd;
    default:
      return MenuEffect::kNone;
  }
}

void ShowAbout() {
  ShowMessage(JoinText(5, AboutTitleLine, LineBreak,
                       "A configurable drag-box to capture the path of a file.", LineBreak,
                       "For help and other info, see the ReadMe file."),
              "About Quorlith", platform::kBoxOk | platform::kBoxIconInformation);
}

void OpenReadMe() {
  // The current folder first; then beside the program, where the warning
  // below tells the user to put it; then the installed documents folder.
  // The first plain file of that name wins.
  const std::string places[] = {
      ReadMeName, std::string(AppDir()) + ReadMeName,
      InstalledDocDir.empty() ? std::string() : InstalledDocDir + ReadMeName};
  for (const std::string& readme : places) {
    if (!readme.empty() && platform::IsRegularFile(readme)) {
      OpenDocument(readme);
      return;
    }
  }
  ShowMessage(JoinText(5, "Sorry, you've misplaced the Read Me File!", LineBreak,
                       JoinText(2, "It is called ", ReadMeName), LineBreak,
                       "Make sure its in the same folder as Quorlith."),
              "Quorlith", platform::kBoxOk | platform::kBoxIconWarning);
}
