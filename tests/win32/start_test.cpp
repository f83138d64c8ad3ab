// Start-up: the class record, the window as FormLoad makes it, its opacity
// and the end of the message loop.
#include "settings/settings_file.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Start = DropBoxTest;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(Win32Start, ClassRecordAsRegistered) {
  Start();
  WNDCLASSEXA record = {};
  record.cbSize = sizeof record;
  ASSERT_TRUE(GetClassInfoExA(ProgramInstance, "Quorlith", &record));
  // CS_DBLCLKS joins CS_HREDRAW | CS_VREDRAW | CS_OWNDC when the box is made.
  EXPECT_EQ(FormClass.style, 0x23u);
  EXPECT_EQ(record.style, 0x2Bu);
  EXPECT_EQ(record.lpfnWndProc, &DropBoxProc);
  EXPECT_EQ(record.cbClsExtra, 0);
  EXPECT_EQ(record.cbWndExtra, 0);
  EXPECT_EQ(record.hbrBackground, reinterpret_cast<HBRUSH>(16));
  EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(record.lpszMenuName, nullptr);
  EXPECT_NE(record.hIcon, nullptr);
  EXPECT_EQ(record.hIcon, LoadIconA(ProgramInstance, MAKEINTRESOURCEA(100)));

  char name[64] = {};
  GetClassNameA(DropBoxWindow, name, sizeof name);
  EXPECT_STREQ(name, "Quorlith");
  GetWindowTextA(DropBoxWindow, name, sizeof name);
  EXPECT_STREQ(name, "Quorlithdropbox");
}

TEST_F(Win32Start, FirstStartWritesTheFileAndShowsTheDefaultBox) {
  ASSERT_FALSE(testing_support::Exists(IniPathHere()));
  Start();
  EXPECT_EQ(IniPath, IniPathHere());
  EXPECT_EQ(FileNumber("w"), 75);
  EXPECT_TRUE(IsWindowVisible(DropBoxWindow));
  EXPECT_TRUE(SameRect(Outer(), RECT{244, 200, 319, 275}));
  EXPECT_EQ(Alpha(), 191);
}

// The platform adds bits of its own (WS_CLIPSIBLINGS for a top-level window,
// WS_EX_WINDOWEDGE for a dialog frame); everything else is the program's.
TEST_F(Win32Start, StylesFollowTheLockSetting) {
  const struct {
    const char* b;
    DWORD style;
  } cases[] = {
      {"1", 0x80400000 | WS_VISIBLE | WS_THICKFRAME},
      {"0", 0x80400000 | WS_VISIBLE},
      {"2", 0x80400000 | WS_VISIBLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b);
    WriteSettings({{"b", c.b}});
    Start();
    EXPECT_EQ(static_cast<DWORD>(Style()) & ~WS_CLIPSIBLINGS, c.style);
    const DWORD ex_style = GetWindowLongA(DropBoxWindow, GWL_EXSTYLE);
    EXPECT_EQ(ex_style & ~WS_EX_WINDOWEDGE, 0x80290u | WS_EX_TOPMOST);
    Finish();
  }
}

TEST_F(Win32Start, ExistingFileIsOnlyReadAndSetsPlaceSizeAndOpacity) {
  // Created at (x, y) with w + 4 by h + 12; ApplySettings then makes the outer
  // size exactly w x h. Opacity: the low 8 bits of t * 255 / 100.
  const struct {
    const char* t;
    BYTE alpha;
  } cases[] = {{"75", 191}, {"100", 255}, {"0", 0}, {"101", 1}, {"-1", 254}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "t=" << c.t);
    WriteSettings({{"x", "100"}, {"y", "-20"}, {"w", "90"}, {"h", "61"}, {"t", c.t}});
    const std::string before = IniBytes();
    Start();
    EXPECT_EQ(Alpha(), c.alpha);
    EXPECT_TRUE(SameRect(Outer(), RECT{100, -20, 190, 41}));
    EXPECT_EQ(IniBytes(), before);
    Finish();
  }
}

TEST_F(Win32Start, LoopEndsWithZeroWhenTheBoxIsClosedWithoutSaving) {
  WriteSettings();
  Start();
  SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
  const std::string before = IniBytes();
  PostMessageA(DropBoxWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(DropBoxWindow));
  EXPECT_EQ(IniBytes(), before);
}

}  // namespace
}  // namespace win32_testing
