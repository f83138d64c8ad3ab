// Where the box stands among the others, under a real X server: one box per
// settings file, and a box stored off every screen brought back.
#include <gtest/gtest.h>

#include <string>

#include "tests/qt/x11_session.h"

namespace {

using namespace x11_tests;

std::string Settings(int x, int y) {
  return "[Coordinates]\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nw=120\nh=100\nt=100\nb=1\nm=1\n[Options]\n";
}

// True when window upper is stacked above window lower (xwininfo lists the
// screen's top-level windows from the top down).
bool StackedAbove(const QString& upper, const QString& lower) {
  const QString tree = QString::fromStdString(Run("xwininfo", {"-root", "-children"}).out);
  const auto at = [&tree](const QString& window) {
    return tree.indexOf(QStringLiteral("0x%1 ").arg(window.toULongLong(), 0, 16));
  };
  return at(upper) >= 0 && at(lower) >= 0 && at(upper) < at(lower);
}

TEST(QtX11Place, ASecondStartOverTheSameFileRaisesTheBoxAndEnds) {
  ProgramRun run(Settings(100, 100));
  ASSERT_FALSE(run.box().isEmpty());
  // Another program's window over the box.
  DragSource cover(100, 100, {QString::fromStdString(run.folder() / "Quorlith.ini")});
  const QString covering = cover.window();
  ASSERT_TRUE(WaitFor([&] { return StackedAbove(covering, run.box()); }));

  EXPECT_EQ(run.StartAgain(), 0);
  EXPECT_TRUE(WaitFor([&] { return StackedAbove(run.box(), covering); }));
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(run.SettingsBytes(), Settings(100, 100));

  // A copy with a settings file of its own shows its own box beside it.
  ProgramRun other(Settings(300, 100));
  EXPECT_FALSE(other.box().isEmpty());
  EXPECT_TRUE(run.Running());
}

TEST(QtX11Place, ABoxStoredOffEveryScreenShowsAtTheFirstRunPlace) {
  ProgramRun run(Settings(2000, 100));  // the test screen is 1280 pixels wide
  ASSERT_FALSE(run.box().isEmpty());
  EXPECT_EQ(run.BoxGeometry(), (Geometry{244, 200, 120, 100}));
  EXPECT_EQ(run.SettingsBytes(), Settings(2000, 100));
}

}  // namespace
