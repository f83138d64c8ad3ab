// Start-up: the class record and the window as FormLoad makes it. The first
// start without a file is tested on the whole program (win32_first_start.sh).
#include "tests/support/scripted_ui.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Start = DropBoxTest;

TEST_F(Win32Start, ClassRecordAndTitle) {
  Start();
  WNDCLASSEXA record = {};
  record.cbSize = sizeof record;
  ASSERT_TRUE(GetClassInfoExA(ProgramInstance, "Quorlith", &record));
  // CS_DBLCLKS joins CS_HREDRAW | CS_VREDRAW | CS_OWNDC when the box is made.
  EXPECT_EQ(FormClass.style, 0x23u);
  EXPECT_EQ(record.style, 0x2Bu);
  EXPECT_EQ(record.hbrBackground, reinterpret_cast<HBRUSH>(16));
  EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(record.lpszMenuName, nullptr);
  ASSERT_NE(record.hIcon, nullptr);
  EXPECT_EQ(record.hIcon, LoadIconA(ProgramInstance, MAKEINTRESOURCEA(100)));
  char title[32] = {};
  GetWindowTextA(DropBoxWindow, title, sizeof title);
  EXPECT_STREQ(title, "Quorlithdropbox");
}

// Created at (x, y) with (w + 4) x (h + 12), then ApplySettings makes the
// outer size exactly w x h. Opacity: the low 8 bits of t * 255 / 100. The
// platform adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE of its own.
TEST_F(Win32Start, WindowFollowsAnExistingFileWithoutWritingIt) {
  const struct {
    const char* b;
    DWORD frame;
    const char* t;
    BYTE alpha;
  } cases[] = {{"1", WS_THICKFRAME, "75", 191}, {"0", 0, "100", 255}, {"2", 0, "0", 0},
               {"1", WS_THICKFRAME, "101", 1},  {"0", 0, "-1", 254}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " t=" << c.t);
    WriteSettings({{"x", "100"}, {"y", "-20"}, {"w", "90"}, {"h", "61"}, {"b", c.b}, {"t", c.t}});
    const std::string before = IniBytes();
    Start();
    EXPECT_EQ(static_cast<DWORD>(Style()) & ~WS_CLIPSIBLINGS, 0x80400000 | WS_VISIBLE | c.frame);
    const DWORD ex_style = GetWindowLongA(DropBoxWindow, GWL_EXSTYLE);
    EXPECT_EQ(ex_style & ~WS_EX_WINDOWEDGE, 0x80290u | WS_EX_TOPMOST);
    EXPECT_EQ(Alpha(), c.alpha);
    EXPECT_EQ(Placement(), (std::vector<int>{100, -20, 90, 61}));
    EXPECT_EQ(IniBytes(), before);
    Finish();
  }
}

// A size that would leave no visible box is shown at the first-run size; a
// settings file that cannot be used is reported once the box is up, which
// runs on the first-run values. Neither writes the file.
TEST_F(Win32Start, NoSettingHidesTheBox) {
  testing_support::ScriptedUi ui;
  WriteSettings({{"x", "100"}, {"y", "50"}, {"w", "0"}, {"h", "100000"}});
  const std::string before = IniBytes();
  Start();
  EXPECT_EQ(Placement(), (std::vector<int>{100, 50, 75, 75}));
  EXPECT_EQ(IniBytes(), before);
  EXPECT_TRUE(ui.boxes().empty());
  Finish();

  DeleteFileA(IniPathHere().c_str());
  ASSERT_TRUE(CreateDirectoryA(IniPathHere().c_str(), nullptr));
  Start();
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_NE(ui.boxes()[0].text.find(IniPathHere() + "\rIt is not a plain file."),
            std::string::npos);
  EXPECT_TRUE(IsWindowVisible(DropBoxWindow));
  EXPECT_EQ(Placement(), (std::vector<int>{244, 200, 75, 75}));
}

}  // namespace
}  // namespace win32_testing
