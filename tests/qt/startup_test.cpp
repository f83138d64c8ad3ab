// The program's start: the settings file, the box's place, size, opacity and
// readiness once start-up has run.
#include <cmath>
#include <string>

#include "settings/settings_file.h"
#include "tests/qt/box_fixture.h"

namespace {

using QtStartup = BoxTest;

TEST_F(QtStartup, FirstStartWritesTheSettingsFileByteForByte) {
  const std::string desktop = folder_ / "home/Desktop";
  Start();
  EXPECT_EQ(SettingsBytes(),
            "[Coordinates]\nx=244\ny=200\nw=75\nh=75\nt=75\nb=1\nm=1\n"
            "[Options]\nCommandMode=1\npathaction=1\nlistseparator=1\nencase=0\n"
            "deletetobin=1\nconfirmdelete=1\nconfirmcopy=1\nconfirmmove=1\noverwritefile=0\n"
            "CopyDestination=" + desktop + "\nMoveDestination=" + desktop + "\n");
  EXPECT_EQ(IniPath, SettingsPath());
  // ...and the box stands where that file says.
  EXPECT_EQ(box_->frameGeometry(), QRect(244, 200, 75, 75));
}

TEST_F(QtStartup, AnExistingFileIsOnlyRead) {
  const std::string bytes =
      "; kept as the user wrote it\n[Coordinates]\nx = 30\ny=40\nw=90\n\nh=60\n[Options]\n"
      "CommandMode=3\n";
  testing_support::WriteFile(SettingsPath(), bytes);
  Start();
  EXPECT_EQ(SettingsBytes(), bytes);
  EXPECT_EQ(box_->frameGeometry(), QRect(30, 40, 90, 60));
}

TEST_F(QtStartup, TheBoxStandsAtXYWithTheOuterSizeWH) {
  struct Case {
    const char* coordinates;
    QRect frame;
  };
  const Case cases[] = {
      {"x=244\ny=200\nw=75\nh=75\n", {244, 200, 75, 75}},
      {"x=0\ny=0\nw=300\nh=40\n", {0, 0, 300, 40}},
      {"x=500\ny=10\nw=33\nh=120\n", {500, 10, 33, 120}},
      // 16-bit fields: 65636 is stored as 100.
      {"x=65636\ny=50\nw=65616\nh=80\n", {100, 50, 80, 80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.coordinates);
    WriteSettings(c.coordinates);
    Start();
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    const WindowRect outer = box_->OuterRect();
    EXPECT_EQ(QRect(QPoint(outer.left, outer.top), QPoint(outer.right - 1, outer.bottom - 1)),
              c.frame);
  }
}

TEST_F(QtStartup, OpacityFollowsTWithoutClamping) {
  struct Case {
    int t;
    int alpha;
  };
  // Values outside 0 to 100 wrap in the low 8 bits.
  const Case cases[] = {{75, 191}, {100, 255}, {0, 0}, {101, 1}, {-1, 254}, {50, 127}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    WriteSettings("t=" + std::to_string(c.t) + "\n");
    Start();
    EXPECT_EQ(std::lround(box_->windowOpacity() * 255), c.alpha);
  }
}

TEST_F(QtStartup, TheBoxIsShownReadyForDropsAndItsMenu) {
  Start();
  EXPECT_TRUE(box_->isVisible());
  EXPECT_TRUE(box_->acceptDrops());
  EXPECT_NE(box_->contextMenu(), nullptr);
  EXPECT_EQ(ended_, 0);
}

}  // namespace
