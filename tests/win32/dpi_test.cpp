// The box on a scaled screen. The settings file holds 96-DPI pixels and the
// box shows them scaled to the screen. The suite runs at 96 DPI, and this
// test once more at 192 DPI in a Wine prefix of its own (at_dpi.sh), which
// names the DPI in QUORLITH_TEST_DPI.
#include <cstdlib>

#include "app/common/menu_commands.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using Win32Dpi = DropBoxTest;

TEST_F(Win32Dpi, OuterSizeFollowsTheScreenAndTheFileKeeps96DpiPixels) {
  const char* named = std::getenv("QUORLITH_TEST_DPI");
  const int dpi = named != nullptr ? std::atoi(named) : 96;
  const auto scaled = [dpi](std::vector<int> pixels) {
    for (int& p : pixels) p = p * dpi / 96;
    return pixels;
  };
  WriteSettings({{"x", "100"}, {"y", "50"}, {"w", "75"}, {"h", "61"}});
  Start();
  ASSERT_EQ(WindowDpi(DropBoxWindow), dpi);
  EXPECT_EQ(Placement(), scaled({100, 50, 75, 61}));
  Send(WM_COMMAND, IDM_OPEN_SETTINGS);
  EXPECT_EQ(SavedRect(), (std::vector<int>{100, 50, 75, 61}));

  // Moved to a screen of another scale, the box takes the rectangle the
  // system proposes.
  RECT proposed = {20, 40, 20 + 150, 40 + 122};
  Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(Placement(), (std::vector<int>{20, 40, 150, 122}));
}

// A place off every screen's work area, measured in the file's 96-DPI
// pixels, shows at the first-run place; the file keeps the stored one. The
// test display is 1280 pixels wide: 640 such pixels at 192 DPI.
TEST_F(Win32Dpi, APlaceOffEveryScreenShowsAtTheFirstRunPlace) {
  const char* named = std::getenv("QUORLITH_TEST_DPI");
  const int dpi = named != nullptr ? std::atoi(named) : 96;
  const struct {
    const char* x;
    int shown_x, shown_y;  // in 96-DPI pixels
  } cases[] = {{"700", dpi > 96 ? 244 : 700, dpi > 96 ? 200 : 50}, {"5000", 244, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    WriteSettings({{"x", c.x}, {"y", "50"}, {"w", "75"}, {"h", "61"}});
    const std::string before = IniBytes();
    Start();
    EXPECT_EQ(Placement(), (std::vector<int>{c.shown_x * dpi / 96, c.shown_y * dpi / 96,
                                             75 * dpi / 96, 61 * dpi / 96}));
    EXPECT_EQ(IniBytes(), before);
    Finish();
  }
}

}  // namespace
}  // namespace win32_testing
