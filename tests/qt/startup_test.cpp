// The program's start: the settings file, and the box's place, size and
// opacity once start-up has run.
#include <cmath>
#include <string>

#include "tests/qt/box_fixture.h"

namespace {

using QtStartup = BoxTest;

TEST_F(QtStartup, FirstStartWritesTheSettingsFileByteForByte) {
  Start();
  const std::string desktop = folder_ / "home/Desktop";
  EXPECT_EQ(SettingsBytes(),
            "[Coordinates]\nx=244\ny=200\nw=75\nh=75\nt=75\nb=1\nm=1\n"
            "[Options]\nCommandMode=1\npathaction=1\nlistseparator=1\nencase=0\n"
            "deletetobin=1\nconfirmdelete=1\nconfirmcopy=1\nconfirmmove=1\noverwritefile=0\n"
            "CopyDestination=" + desktop + "\nMoveDestination=" + desktop + "\n");
  EXPECT_EQ(box_->frameGeometry(), QRect(244, 200, 75, 75));
}

TEST_F(QtStartup, AnExistingFileIsOnlyReadAndTheBoxStandsAtXYWithOuterSizeWH) {
  struct Case {
    std::string bytes;
    QRect frame;
  };
  const Case cases[] = {
      {"; kept as written\n[Coordinates]\nx = 30\ny=40\nw=90\n\nh=60\n[Options]\nCommandMode=3\n",
       {30, 40, 90, 60}},
      {"[Coordinates]\nx=0\ny=0\nw=300\nh=40\n", {0, 0, 300, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    testing_support::WriteFile(SettingsPath(), c.bytes);
    Start();
    EXPECT_EQ(SettingsBytes(), c.bytes);
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
  const Case cases[] = {{75, 191}, {100, 255}, {0, 0}, {101, 1}, {-1, 254}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    WriteSettings("t=" + std::to_string(c.t) + "\n");
    Start();
    EXPECT_EQ(std::lround(box_->windowOpacity() * 255), c.alpha);
  }
}

}  // namespace
