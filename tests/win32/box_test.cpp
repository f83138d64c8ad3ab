// The box on Windows: start-up over the settings file, the screen's scale, a
// click on the frame, and the menu's commands. Real mouse input is tested on
// the whole program (box_mouse.sh).
#include <cstdlib>
#include <tuple>
#include <utility>

#include "app/common/menu_commands.h"
#include "tests/win32/box_fixture.h"

namespace {

using Win32Box = BoxTest;

TEST_F(Win32Box, StartShowsTheFileRectangleOnTopAtItsOpacityAndNeverWritesTheFile) {
  for (const auto& [b, t, alpha] : {std::tuple{"1", "75", 191}, {"0", "101", 1}}) {
    SCOPED_TRACE(t);
    WriteSettings(std::string("x=100\r\ny=-20\r\nw=90\r\nh=61\r\nb=") + b + "\r\nt=" + t + "\r\n");
    const std::string before = IniBytes();
    Start();
    const LONG shown = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES;
    EXPECT_EQ(GetWindowLongA(DropBoxWindow, GWL_EXSTYLE) & shown, shown);
    EXPECT_EQ(Framed(), *b == '1');
    EXPECT_EQ(Alpha(), alpha);
    EXPECT_EQ(Placement(), (std::vector<int>{100, -20, 90, 61}));
    EXPECT_EQ(IniBytes(), before);
    Finish();
  }
}

// The file holds 96-DPI pixels and the box shows them scaled. The suite runs
// at 96 DPI, and this test once more at 192 DPI (at_dpi.sh names it in
// QUORLITH_TEST_DPI). A place off every screen's work area in 96-DPI pixels
// (the display is 1280 wide) shows at the first-run place.
TEST_F(Win32Box, TheBoxIsScaledToTheScreenAndTheFileKeeps96DpiPixels) {
  const char* named = std::getenv("QUORLITH_TEST_DPI");
  const int dpi = named != nullptr ? std::atoi(named) : 96;
  for (const auto& [x, shown_x] : {std::pair{100, 100}, {700, dpi > 96 ? 244 : 700}, {5000, 244}}) {
    SCOPED_TRACE(x);
    Finish();
    WriteSettings("x=" + std::to_string(x) + "\r\ny=50\r\nw=75\r\nh=61\r\n");
    Start();
    ASSERT_EQ(WindowDpi(DropBoxWindow), dpi);
    std::vector<int> scaled = {shown_x, x == shown_x ? 50 : 200, 75, 61};
    for (int& p : scaled) p = p * dpi / 96;
    EXPECT_EQ(Placement(), scaled);
    SetWindowPos(DropBoxWindow, nullptr, 20 * dpi / 96, 40 * dpi / 96, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Send(WM_COMMAND, IDM_OPEN_SETTINGS);
    EXPECT_EQ(SavedRect(), (std::vector<int>{20, 40, 75, 61}));
  }
  // Moved to a screen of another scale, the box takes the rectangle proposed.
  RECT proposed = {20, 40, 20 + 150, 40 + 122};
  Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(Placement(), (std::vector<int>{20, 40, 150, 122}));
}

// The frame sizes the box only once the pointer has left the drag rectangle,
// and then by the whole way from the press.
TEST_F(Win32Box, DraggingTheFrameResizesTheBoxAndAClickNever) {
  for (const auto& [dx, width] : {std::pair{0, 75}, {2, 75}, {30, 105}}) {
    SCOPED_TRACE(dx);
    WriteSettings();
    Start();
    SetCursorPos(318 + dx, 237);  // from the right side of the first-run box
    // The move and the release are already waiting when the press comes.
    PostMessageA(DropBoxWindow, WM_MOUSEMOVE, 0, 0);
    PostMessageA(DropBoxWindow, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Send(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(318, 237)), 0);
    EXPECT_EQ(Placement(), (std::vector<int>{244, 200, width, 75}));
    EXPECT_EQ(GetCapture(), nullptr);
    Finish();
  }
}

// The box is moved away from the file's rectangle first, so a command that
// saves it shows in the file.
TEST_F(Win32Box, EachCommandReachesTheBox) {
  const struct {
    UINT message;
    int id;
    bool saves, ends;
    size_t opened, shown;  // files handed to the shell, boxes shown
  } cases[] = {
      {WM_COMMAND, IDM_OPEN_SETTINGS, true, false, 1, 0}, {WM_COMMAND, IDM_EXIT, true, true, 0, 0},
      {WM_CLOSE, 0, false, true, 0, 0}, {WM_COMMAND, 1004, false, false, 0, 0},
      {WM_COMMAND, IDM_ABOUT, false, false, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "message " << c.message << " id " << c.id);
    opened_.clear();
    WriteSettings();
    Start();
    SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
    const size_t shown = ui_.boxes().size();
    EXPECT_EQ(Send(c.message, c.id), 0);
    EXPECT_EQ(SavedRect(), (c.saves ? std::vector<int>{300, 310, 130, 95} : std::vector<int>{244, 200, 75, 75}));
    EXPECT_EQ(IsWindow(DropBoxWindow), !c.ends);
    MSG quit;
    const bool quits = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quits ? static_cast<int>(quit.wParam) : -1, c.ends ? 0 : -1);  // -1: no quit
    EXPECT_EQ(opened_, std::vector<std::string>(c.opened, IniPath()));
    EXPECT_EQ(ui_.boxes().size() - shown, c.shown);
    Finish();
  }
  std::vector<std::string> items;  // as the menu shows them
  for (int i = 0; i < GetMenuItemCount(ContextMenu); ++i) {
    char text[64] = {};
    GetMenuStringA(ContextMenu, i, text, sizeof text, MF_BYPOSITION);
    items.push_back(std::to_string(GetMenuItemID(ContextMenu, i)) + " " + text);
  }
  EXPECT_EQ(items, (std::vector<std::string>{"1005 Open Settings", "1006 Help", "1007 Reload Settings",
                                             "1008 Open ReadMe File", "1009 About", "0 ", "1010 &Exit"}));
}

}  // namespace
