// The box under the mouse: hit testing locked and unlocked, sizing by the
// frame, the double-click lock toggle and which right-clicks open the menu.
#include <tuple>

#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Mouse = DropBoxTest;

// The default box spans 244..318 by 200..274.
constexpr POINT kBody = {281, 237};
constexpr POINT kRightEdge = {318, 237};

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

TEST_F(Win32Mouse, HitTestIsCaptionAndFrameUnlockedAndClientLocked) {
  const struct {
    const char* b;
    POINT at;
    LRESULT hit;
  } cases[] = {
      {"1", kBody, HTCAPTION},           {"1", kRightEdge, HTRIGHT},
      {"1", {318, 274}, HTBOTTOMRIGHT},  {"1", {244, 237}, HTLEFT},
      {"0", kBody, HTCLIENT},            {"0", kRightEdge, HTCLIENT},
      {"2", {318, 274}, HTCLIENT},       {"0", {10, 10}, HTCLIENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " at " << c.at.x << "," << c.at.y);
    WriteSettings({{"b", c.b}});
    Start();
    EXPECT_EQ(Send(WM_NCHITTEST, 0, At(c.at)), c.hit);
    Finish();
  }
}

// The frame sizes the box only once the pointer has left the drag rectangle,
// and then by the whole way from the press.
TEST_F(Win32Mouse, DraggingTheFrameResizesTheUnlockedBoxAndAClickNever) {
  const struct {
    const char* name;
    int dx;
    int width;
  } cases[] = {{"a click", 0, 75}, {"a slip within the drag rectangle", 2, 75}, {"a drag", 30, 105}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings();
    Start();
    SetCursorPos(kRightEdge.x + c.dx, kRightEdge.y);
    // The move and the release are already waiting when the press comes.
    PostMessageA(DropBoxWindow, WM_MOUSEMOVE, 0, 0);
    PostMessageA(DropBoxWindow, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Send(WM_NCLBUTTONDOWN, HTRIGHT, At(kRightEdge)), 0);
    EXPECT_EQ(Placement(), (std::vector<int>{244, 200, c.width, 75}));
    EXPECT_EQ(GetCapture(), nullptr);
    Finish();
  }
}

// Locking by a double-click on the caption, unlocking by one on the client
// area; the box keeps its place and size.
TEST_F(Win32Mouse, DoubleClickTogglesTheLockAndWritesItAtOnce) {
  WriteSettings();
  Start();
  const std::vector<int> placed = Placement();
  for (const auto& [message, hit, new_b] : {std::tuple{WM_NCLBUTTONDBLCLK, HTCAPTION, 0},
                                            std::tuple{WM_LBUTTONDBLCLK, 0, 1}}) {
    SCOPED_TRACE(testing::Message() << "b becomes " << new_b);
    EXPECT_EQ(Send(message, hit, At(kBody)), 0);
    EXPECT_EQ(FileNumber("b"), new_b);
    EXPECT_EQ((Style() & WS_THICKFRAME) != 0, new_b == 1);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, At(kBody)), new_b == 1 ? HTCAPTION : HTCLIENT);
    EXPECT_EQ(Placement(), placed);
  }
}

// Unlocked the right button is released over the caption (WM_NCRBUTTONUP),
// locked over the client area (WM_RBUTTONUP).
TEST_F(Win32Mouse, RightClickOpensTheMenuUnlockedAlwaysAndLockedWithM) {
  const struct {
    const char* b;
    const char* m;
    UINT message;
    bool menu;
  } cases[] = {
      {"1", "0", WM_NCRBUTTONUP, true}, {"0", "1", WM_RBUTTONUP, true},
      {"0", "0", WM_RBUTTONUP, false},  {"0", "2", WM_RBUTTONUP, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " m=" << c.m);
    WriteSettings({{"b", c.b}, {"m", c.m}});
    Start();
    SetCursorPos(kBody.x + 3, kBody.y + 5);
    const size_t menus_before = robot_.Menus().size();
    // The message's own position is not used: the menu opens at the pointer.
    EXPECT_EQ(Send(c.message, c.message == WM_NCRBUTTONUP ? HTCAPTION : 0, At({1, 1})), 0);
    const std::vector<SeenMenu> menus = robot_.Menus();
    ASSERT_EQ(menus.size() - menus_before, c.menu ? 1u : 0u);
    if (c.menu) {
      EXPECT_EQ(menus.back().menu, ContextMenu);
      EXPECT_EQ(menus.back().top_left.x, kBody.x + 3);
      EXPECT_EQ(menus.back().top_left.y, kBody.y + 5);
    }
    Finish();
  }
}

// Over a caption the default procedure would capture the mouse on the press
// and swallow the release that becomes WM_NCRBUTTONUP.
TEST_F(Win32Mouse, RightPressOnTheUnlockedBodyLeavesTheReleaseAlone) {
  WriteSettings();
  Start();
  PostMessageA(DropBoxWindow, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Send(WM_NCRBUTTONDOWN, HTCAPTION, At(kBody)), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  MSG release;
  EXPECT_TRUE(PeekMessageA(&release, DropBoxWindow, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
  EXPECT_TRUE(robot_.Menus().empty());
}

}  // namespace
}  // namespace win32_testing
