// The box's feedback as it shows on a real X server: the highlight while a
// drag from another program hovers, the flash when it drops, and the tip.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <cstdlib>
#include <set>
#include <string>

#include "tests/qt/x11_session.h"

namespace {

using namespace x11_tests;

// The colour of the screen at (x, y), as 0xRRGGBB.
uint32_t ScreenPixel(int x, int y) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  xcb_get_image_reply_t* image = xcb_get_image_reply(
      connection,
      xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(x),
                    static_cast<int16_t>(y), 1, 1, ~0u),
      nullptr);
  uint32_t pixel = 0;
  if (image != nullptr && xcb_get_image_data_length(image) >= 4) {
    pixel = *reinterpret_cast<const uint32_t*>(xcb_get_image_data(image)) & 0xFFFFFF;
  }
  std::free(image);
  xcb_disconnect(connection);
  return pixel;
}

TEST(QtX11Feedback, AHoveringDragHighlightsTheDropFlashesAndTheTipSaysWhatHappened) {
  ProgramRun run("[Coordinates]\nx=100\ny=100\nw=120\nh=100\nt=100\nb=1\nm=1\n[Options]\n");
  ASSERT_FALSE(run.box().isEmpty());
  const std::string a = run.folder() / "a.txt";
  testing_support::WriteFile(a, "a");
  DragSource source(400, 100, {QString::fromStdString(a), QString::fromStdString(a)});
  const uint32_t idle = ScreenPixel(160, 150);

  // The drag, held over the box, as a hand holds it.
  Xdotool({"mousemove", "460", "160", "sleep", "0.2", "mousedown", "1", "sleep", "0.3"});
  for (int i = 1; i <= 16; ++i) {
    Xdotool({"mousemove", QString::number(460 - 300 * i / 16), QString::number(160 - 10 * i / 16),
             "sleep", "0.03"});
  }
  uint32_t hover = idle;
  WaitFor([&] { return (hover = ScreenPixel(160, 150)) != idle; }, 3000);
  EXPECT_NE(hover, idle) << "no highlight while hovering";

  Xdotool({"mouseup", "1"});
  std::set<uint32_t> seen;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 1500) seen.insert(ScreenPixel(160, 150));
  seen.erase(idle);
  seen.erase(hover);
  EXPECT_FALSE(seen.empty()) << "no flash after the drop";
  EXPECT_TRUE(WaitFor([&] { return ScreenPixel(160, 150) == idle; }));
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == a + "\n" + a; }));
  EXPECT_FALSE(WaitForWindow(run.pid(), "^2 paths on the clipboard$").isEmpty()) << "no tip";
}

}  // namespace
