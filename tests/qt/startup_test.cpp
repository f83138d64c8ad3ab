// The program's start: the settings file, and the box's place, size and
// opacity once start-up has run.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include "app/common/menu_commands.h"

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
      // Sizes that would leave no visible box are shown at the first-run size.
      {"[Coordinates]\nx=5\ny=6\nw=0\nh=100000\n", {5, 6, 75, 75}},
      // A place off every screen shows at the first-run place; the file keeps it.
      {"[Coordinates]\nx=2000\ny=50\nw=90\nh=60\n", {244, 200, 90, 60}},
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

// A settings file that cannot be used neither hangs nor hides the box: start-up
// finishes, says which file and why, shows the box at the first-run place and
// size, and Exit leaves the entry as it was.
TEST_F(QtStartup, AnUnusableSettingsFileIsReportedAndTheBoxShows) {
  const struct {
    const char* what;
    std::function<int(const char*)> make;
    const char* reason;
  } cases[] = {
      {"named pipe", [](const char* p) { return mkfifo(p, 0600); }, "It is not a plain file."},
      {"link to /dev/zero", [](const char* p) { return symlink("/dev/zero", p); },
       "It is not a plain file."},
      {"folder", [](const char* p) { return mkdir(p, 0700); }, "It is not a plain file."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(SettingsPath());
    ASSERT_EQ(c.make(SettingsPath().c_str()), 0);
    struct stat before {};
    lstat(SettingsPath().c_str(), &before);
    const size_t shown = ui_.boxes().size();
    Start();
    ASSERT_EQ(ui_.boxes().size(), shown + 1);
    EXPECT_EQ(ui_.boxes().back().text, "Sorry, Quorlith cannot use its settings file\r" +
                                           SettingsPath() + "\r" + c.reason +
                                           "\rIt runs with its first settings and leaves that "
                                           "file as it is.");
    EXPECT_TRUE(box_->isVisible());
    EXPECT_EQ(box_->frameGeometry(), QRect(244, 200, 75, 75));
    RunMenuCommand(IDM_EXIT, *box_);
    struct stat after {};
    lstat(SettingsPath().c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
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
