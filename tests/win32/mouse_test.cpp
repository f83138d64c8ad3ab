// The box under the mouse: hit testing locked and unlocked, the double-click
// lock toggle, and which right-clicks open the menu.
#include "settings/settings_record.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Mouse = DropBoxTest;

// The default box spans 244..318 by 200..274.
constexpr POINT kBody = {281, 237};
constexpr POINT kRightEdge = {318, 237};
constexpr POINT kBottomRight = {318, 274};
constexpr POINT kLeftEdge = {244, 237};

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

TEST_F(Win32Mouse, HitTestIsCaptionAndFrameUnlockedAndClientLocked) {
  const struct {
    const char* b;
    POINT at;
    LRESULT hit;
  } cases[] = {
      {"1", kBody, HTCAPTION},          {"1", kRightEdge, HTRIGHT},
      {"1", kBottomRight, HTBOTTOMRIGHT}, {"1", kLeftEdge, HTLEFT},
      {"0", kBody, HTCLIENT},           {"0", kRightEdge, HTCLIENT},
      {"0", kLeftEdge, HTCLIENT},       {"2", kBottomRight, HTCLIENT},
      {"0", {10, 10}, HTCLIENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " at " << c.at.x << "," << c.at.y);
    WriteSettings({{"b", c.b}});
    Start();
    // Whether the default procedure names the frame's sizing codes itself or
    // not, the unlocked frame answers them.
    EXPECT_EQ(Send(WM_NCHITTEST, 0, At(c.at)), c.hit);
    Finish();
  }
}

// Pressing on the frame of the unlocked box and moving the pointer resizes
// the box; the opposite edges stay where they are.
TEST_F(Win32Mouse, DraggingTheFrameResizesTheUnlockedBox) {
  WriteSettings();
  Start();
  SetCursorPos(kRightEdge.x + 30, kRightEdge.y + 10);
  // The release is already waiting, so the sizing ends at the moved pointer.
  PostMessageA(DropBoxWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Send(WM_NCLBUTTONDOWN, HTRIGHT, At(kRightEdge)), 0);
  const RECT after = Outer();
  EXPECT_EQ(after.left, 244);
  EXPECT_EQ(after.top, 200);
  EXPECT_EQ(after.right - after.left, 75 + 30);
  EXPECT_EQ(after.bottom - after.top, 75);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32Mouse, DoubleClickTogglesTheLockAndWritesItAtOnce) {
  const struct {
    const char* b;
    UINT message;
    WPARAM hit;
    int new_b;
  } cases[] = {
      {"1", WM_NCLBUTTONDBLCLK, HTCAPTION, 0},
      {"1", WM_NCLBUTTONDBLCLK, HTRIGHT, 0},
      {"0", WM_LBUTTONDBLCLK, 0, 1},
      {"2", WM_LBUTTONDBLCLK, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " message " << c.message);
    WriteSettings({{"b", c.b}});
    Start();
    const RECT before = Outer();
    EXPECT_EQ(Send(c.message, c.hit, At(kBody)), 0);
    EXPECT_EQ(SettingsRecord.b, c.new_b);
    EXPECT_EQ(FileNumber("b"), c.new_b);
    EXPECT_EQ((Style() & WS_THICKFRAME) != 0, c.new_b == 1);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, At(kBody)), c.new_b == 1 ? HTCAPTION : HTCLIENT);
    const RECT after = Outer();
    EXPECT_TRUE(EqualRect(&before, &after));
    Finish();
  }
}

TEST_F(Win32Mouse, RightClickOpensTheMenuUnlockedAlwaysAndLockedWithM) {
  const struct {
    const char* b;
    const char* m;
    UINT message;
    bool menu;
  } cases[] = {
      {"1", "0", WM_NCRBUTTONUP, true}, {"1", "1", WM_NCRBUTTONUP, true},
      {"0", "1", WM_RBUTTONUP, true},   {"2", "1", WM_RBUTTONUP, true},
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

// Over a caption the default procedure captures the mouse on the press and
// swallows the release; the box keeps the press from it, so the release is
// still there to become WM_NCRBUTTONUP.
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
