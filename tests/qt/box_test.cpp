// The box on Qt: start-up over the settings file, the lock toggle, moving and
// sizing with the pointer (offscreen the box follows the pointer itself), and
// the context menu.
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/menu_commands.h"
#include "platform/shell_open.h"
#include "tests/qt/box_fixture.h"

namespace {

using QtBox = BoxTest;

// The first start writes the file; an existing one is only read.
TEST_F(QtBox, StartShowsTheFileRectangleOnTopAtItsOpacity) {
  const struct {
    std::string bytes;  // empty: no file
    QRect frame;
    int alpha;
  } cases[] = {
      {"", {244, 200, 75, 75}, 191},
      {"; kept\n[Coordinates]\nx = 30\ny=40\nw=90\n\nh=60\nt=101\n", {30, 40, 90, 60}, 1},
      {"[Coordinates]\nx=5\ny=6\nw=0\nh=100000\nt=100\n", {5, 6, 75, 75}, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::filesystem::remove(SettingsPath());
    if (!c.bytes.empty()) testing_support::WriteFile(SettingsPath(), c.bytes);
    Start();
    const std::string bytes = SettingsBytes();
    EXPECT_EQ(c.bytes.empty() ? bytes.substr(0, 20) : bytes, c.bytes.empty() ? "[Coordinates]\nx=244\n" : c.bytes);
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    const WindowRect outer = box_->OuterRect();
    EXPECT_EQ(QRect(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top), c.frame);
    EXPECT_EQ(std::lround(box_->windowOpacity() * 255), c.alpha);
    EXPECT_TRUE(box_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }
}

// The second press of a double-click, the pointer slipping, neither moves the
// box; the lock is written at once and the frame shows it.
TEST_F(QtBox, ADoubleClickSwitchesTheLockAndNeverMovesTheBox) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  const QImage unlocked = box_->grab().toImage();
  for (const int b : {0, 1}) {
    SCOPED_TRACE(b);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                            QEvent::MouseButtonDblClick}) {
      Mouse(type, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, At(40, 35));
    }
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, At(80, 65));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, At(80, 65));
    EXPECT_EQ(FileNumber("b"), b);
    EXPECT_EQ(box_->frameGeometry(), QRect(100, 100, 80, 70));
    EXPECT_EQ(box_->grab().toImage() == unlocked, b == 1);
  }
}

TEST_F(QtBox, DraggingMovesOrResizesOnlyTheUnlockedBox) {
  const struct {
    const char* name;
    int b;
    QPoint press, delta;  // press in box coordinates
    QRect frame;          // the box starts at (100, 100), 80 x 70
  } cases[] = {
      {"body moves", 1, {40, 35}, {30, 20}, {130, 120, 80, 70}},
      {"right side", 1, {79, 35}, {25, 9}, {100, 100, 105, 70}},
      {"top side near the left corner", 1, {8, 1}, {-10, -10}, {90, 90, 90, 80}},
      {"top-left corner, never below the smallest box", 1, {0, 0}, {200, 200}, {160, 150, 20, 20}},
      {"too short to be a drag", 1, {40, 35}, {3, 2}, {100, 100, 80, 70}},
      {"locked", 0, {79, 69}, {20, 10}, {100, 100, 80, 70}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=" + std::to_string(c.b) + "\n");
    Start();
    const QPoint from = At(c.press.x(), c.press.y());
    DragMouse(from, from + c.delta);
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, from + c.delta * 2);  // the button is up
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    EXPECT_EQ(FileNumber("x"), 100);
  }
}

TEST_F(QtBox, ARightClickOpensTheMenuUnlockedAlwaysAndLockedWhenMIs1) {
  const struct {
    int b, m;
    bool opens;
  } cases[] = {{1, 0, true}, {0, 1, true}, {0, 0, false}, {0, 2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " m=" << c.m);
    WriteSettings("b=" + std::to_string(c.b) + "\nm=" + std::to_string(c.m) + "\n");
    Start();
    std::vector<std::string> texts;
    EXPECT_EQ(RightClickWithMenu([&](QMenu& menu) {
      for (QAction* a : menu.actions()) texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    }), c.opens);
    if (c.opens) {
      EXPECT_EQ(texts, (std::vector<std::string>{"Open Settings", "Help", "Reload Settings",
                                                 "Open ReadMe File", "About", "-", "&Exit"}));
    }
  }
}

// Open Settings and Exit save the moved rectangle first; closed by the window
// manager, the box saves nothing.
TEST_F(QtBox, MenuCommandsSaveThisBoxAndAWindowManagerCloseDoesNot) {
  std::vector<std::string> opened;
  platform::SetOpenHandler([&](const std::string& path) {
    opened.push_back(path + " x=" + std::to_string(FileNumber("x")));
    return true;
  });
  for (const bool exit : {false, true}) {
    SCOPED_TRACE(exit ? "Exit" : "closed");
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
    Start();
    ended_ = 0;
    DragMouse(At(1, 1), At(-9, -4));  // the top-left corner: (90, 95), 90 x 75
    if (exit) ChooseCommand(IDM_OPEN_SETTINGS);
    DragMouse(At(40, 40), At(50, 60));  // the body, to (100, 115)
    EXPECT_EQ(ended_, 0);
    if (exit) {
      ChooseCommand(IDM_EXIT);
    } else {
      box_->close();
    }
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(box_->isVisible());
    EXPECT_EQ(SettingsBytes(), exit ? "[Coordinates]\nx=100\ny=115\nw=90\nh=75\nb=1\n[Options]\n"
                                    : "[Coordinates]\nx=100\ny=100\nw=80\nh=70\nb=1\n[Options]\n");
  }
  platform::SetOpenHandler(nullptr);
  EXPECT_EQ(opened, std::vector<std::string>{SettingsPath() + " x=90"});
}

}  // namespace
