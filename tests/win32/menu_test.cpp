// The context menu as the system holds it, and every command reaching the
// box through WM_COMMAND, with the real message boxes answered by the robot.
#include "app/common/menu_commands.h"
#include "settings/settings_record.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Menu = DropBoxTest;

std::string ItemText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST_F(Win32Menu, ItemsInOrderWithTheirIdsTextsAndSeparator) {
  Start();
  const struct {
    UINT id;
    const char* text;
  } expected[] = {{1005, "Open Settings"}, {1006, "Help"}, {1007, "Reload Settings"},
                  {1008, "Open ReadMe File"}, {1009, "About"}, {0, ""}, {1010, "&Exit"}};
  ASSERT_EQ(GetMenuItemCount(ContextMenu), 7);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(testing::Message() << "position " << i);
    const UINT state = GetMenuState(ContextMenu, i, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemID(ContextMenu, i), expected[i].id);
    EXPECT_EQ(ItemText(ContextMenu, i), expected[i].text);
    EXPECT_EQ((state & MF_SEPARATOR) != 0, expected[i].id == 0);
    if (expected[i].id != 0) {
      EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
    }
  }
  ASSERT_EQ(GetMenuItemCount(HiddenMenu), 1);
  EXPECT_EQ(GetSubMenu(HiddenMenu, 0), ContextMenu);
  EXPECT_EQ(ItemText(HiddenMenu, 0), "invisible menu");
}

TEST_F(Win32Menu, ItemChosenInTheOpenMenuReachesTheBox) {
  WriteSettings();
  Start();
  WriteSettings({{"w", "120"}});
  robot_.ChooseMenuPosition(2);  // Reload Settings
  Send(WM_NCRBUTTONUP, HTCAPTION, 0);
  Pump();
  ASSERT_EQ(robot_.Menus().size(), 1u);
  EXPECT_EQ(Outer().right - Outer().left, 120);
}

TEST_F(Win32Menu, ReloadAppliesSizeOpacityAndLockButNotThePlace) {
  WriteSettings();
  Start();
  WriteSettings({{"x", "10"}, {"y", "20"}, {"w", "130"}, {"h", "90"}, {"t", "100"}, {"b", "0"}});
  const std::string edited = IniBytes();
  Send(WM_COMMAND, IDM_RELOAD_SETTINGS);
  const RECT r = Outer();
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::vector<LONG>{244, 200, 130, 90}));
  EXPECT_EQ(Alpha(), 255);
  EXPECT_EQ(Style() & WS_THICKFRAME, 0);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(300, 240)), HTCLIENT);
  EXPECT_EQ(IniBytes(), edited);
}

TEST_F(Win32Menu, ExitAndOpenSettingsSaveTheRectangle) {
  const struct {
    int id;
    bool destroys;
  } cases[] = {{IDM_OPEN_SETTINGS, false}, {IDM_EXIT, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "command " << c.id);
    opened_.clear();
    WriteSettings();
    Start();
    SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
    EXPECT_EQ(Send(WM_COMMAND, c.id), 0);
    EXPECT_EQ(SavedRect(), (std::vector<int>{300, 310, 130, 95}));
    EXPECT_EQ(IsWindow(DropBoxWindow), !c.destroys);
    EXPECT_EQ(opened_, c.destroys ? std::vector<std::string>{}
                                  : std::vector<std::string>{IniPathHere()});
    EXPECT_EQ(TakeQuit(), c.destroys ? std::optional<WPARAM>(0) : std::nullopt);
    Finish();
  }
}

TEST_F(Win32Menu, CloseAndUnknownCommandsWriteNothing) {
  WriteSettings();
  Start();
  SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
  const std::string before = IniBytes();
  Send(WM_COMMAND, 1004);
  Send(WM_COMMAND, 1011);
  EXPECT_TRUE(IsWindow(DropBoxWindow));
  Send(WM_CLOSE);
  EXPECT_FALSE(IsWindow(DropBoxWindow));
  EXPECT_EQ(TakeQuit(), std::optional<WPARAM>(0));
  EXPECT_EQ(IniBytes(), before);
  EXPECT_TRUE(opened_.empty());
  EXPECT_TRUE(robot_.Boxes().empty());
}

TEST_F(Win32Menu, HelpAndAboutShowTheAboutBox) {
  Start();
  for (int id : {IDM_HELP, IDM_ABOUT}) {
    SCOPED_TRACE(testing::Message() << "command " << id);
    Send(WM_COMMAND, id);
    ASSERT_FALSE(robot_.Boxes().empty());
    const SeenBox box = robot_.Boxes().back();
    EXPECT_EQ(box.caption, "About Quorlith");
    EXPECT_EQ(box.text,
              "Quorlith version 1.1\rA configurable drag-box to capture the path of a file.\r"
              "For help and other info, see the ReadMe file.");
    EXPECT_EQ(box.style, static_cast<uint32_t>(MB_OK | MB_ICONINFORMATION));
  }
  EXPECT_EQ(robot_.Boxes().size(), 2u);
}

TEST_F(Win32Menu, OpenReadMeOpensItFromTheCurrentFolderOrWarns) {
  Start();
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  testing_support::TempFolder current;
  SetCurrentDirectoryA(current.path().c_str());

  Send(WM_COMMAND, IDM_OPEN_README);
  ASSERT_EQ(robot_.Boxes().size(), 1u);
  const SeenBox box = robot_.Boxes().back();
  EXPECT_EQ(box.caption, "Quorlith");
  EXPECT_EQ(box.text, "Sorry, you've misplaced the Read Me File!\rIt is called Quorlith.txt\r"
                      "Make sure its in the same folder as Quorlith.");
  EXPECT_EQ(box.style, static_cast<uint32_t>(MB_OK | MB_ICONWARNING));
  EXPECT_TRUE(opened_.empty());

  testing_support::WriteFile(current / "Quorlith.txt", "read me");
  Send(WM_COMMAND, IDM_OPEN_README);
  EXPECT_EQ(opened_, std::vector<std::string>{"Quorlith.txt"});
  EXPECT_EQ(robot_.Boxes().size(), 1u);
  SetCurrentDirectoryA(previous);
}

}  // namespace
}  // namespace win32_testing
