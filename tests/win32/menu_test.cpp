// The context menu as the system holds it, and every command reaching the
// box through WM_COMMAND. What each command does in detail is tested on the
// shared command code (tests/common); a chosen item reaching the box from the
// open menu is tested on the whole program (win32_mouse.sh).
#include "app/common/menu_commands.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Menu = DropBoxTest;

// Each item as "id text", with " off" when it is greyed, disabled or checked.
TEST_F(Win32Menu, ItemsInOrderWithTheirIdsTextsAndSeparator) {
  Start();
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(ContextMenu); ++i) {
    char text[64] = {};
    GetMenuStringA(ContextMenu, i, text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(ContextMenu, i, MF_BYPOSITION);
    const bool enabled = (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) == 0;
    items.push_back((state & MF_SEPARATOR) ? "separator"
                    : std::to_string(GetMenuItemID(ContextMenu, i)) + " " + text +
                          (enabled ? "" : " off"));
  }
  EXPECT_EQ(items, (std::vector<std::string>{"1005 Open Settings", "1006 Help",
                                             "1007 Reload Settings", "1008 Open ReadMe File",
                                             "1009 About", "separator", "1010 &Exit"}));
}

TEST_F(Win32Menu, ReloadAppliesSizeOpacityAndLockButNotThePlace) {
  WriteSettings();
  Start();
  WriteSettings({{"x", "10"}, {"y", "20"}, {"w", "130"}, {"h", "90"}, {"t", "100"}, {"b", "0"}});
  const std::string edited = IniBytes();
  Send(WM_COMMAND, IDM_RELOAD_SETTINGS);
  EXPECT_EQ(Placement(), (std::vector<int>{244, 200, 130, 90}));
  EXPECT_EQ(Alpha(), 255);
  EXPECT_EQ(Style() & WS_THICKFRAME, 0);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(300, 240)), HTCLIENT);
  EXPECT_EQ(IniBytes(), edited);
}

// The box is moved away from the file's rectangle first, so a command that
// saves it shows in the file. The read-me file waits in the current folder.
TEST_F(Win32Menu, EachCommandReachesTheBox) {
  const struct {
    UINT message;
    int id;
    bool saves;
    bool ends;
    std::string opens;  // the file handed to the shell, if any
    const char* box;    // the caption of the box shown, if any
  } cases[] = {
      {WM_COMMAND, IDM_OPEN_SETTINGS, true, false, IniPathHere(), nullptr},
      {WM_COMMAND, IDM_EXIT, true, true, "", nullptr},
      {WM_CLOSE, 0, false, true, "", nullptr},
      {WM_COMMAND, 1004, false, false, "", nullptr},
      {WM_COMMAND, IDM_HELP, false, false, "", "About Quorlith"},
      {WM_COMMAND, IDM_ABOUT, false, false, "", "About Quorlith"},
      {WM_COMMAND, IDM_OPEN_README, false, false, "Quorlith.txt", nullptr},
  };
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder_.path().c_str());
  testing_support::WriteFile(folder_ / "Quorlith.txt", "read me");
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "message " << c.message << " id " << c.id);
    opened_.clear();
    WriteSettings();
    Start();
    SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
    const size_t boxes_before = robot_.Boxes().size();
    EXPECT_EQ(Send(c.message, c.id), 0);
    EXPECT_EQ(SavedRect(), (c.saves ? std::vector<int>{300, 310, 130, 95}
                                    : std::vector<int>{244, 200, 75, 75}));
    EXPECT_EQ(IsWindow(DropBoxWindow), !c.ends);
    MSG quit;
    const bool quits = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quits ? static_cast<int>(quit.wParam) : -1, c.ends ? 0 : -1);  // -1: no quit
    EXPECT_EQ(opened_, (c.opens.empty() ? std::vector<std::string>{} : std::vector{c.opens}));
    std::vector<std::string> captions;
    for (const SeenBox& box : robot_.Boxes()) captions.push_back(box.caption);
    captions.erase(captions.begin(), captions.begin() + boxes_before);
    EXPECT_EQ(captions, (c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{}));
    Finish();
  }
  SetCurrentDirectoryA(previous);
}

}  // namespace
}  // namespace win32_testing
