// Locking by double-click, and moving and resizing the unlocked box with the
// pointer (here without a window manager, so the box follows the pointer).
#include <QImage>
#include <QPixmap>
#include <string>

#include "app/common/lock_toggle.h"
#include "settings/settings_record.h"
#include "tests/qt/box_fixture.h"

namespace {

using QtLock = BoxTest;
using QtMoveResize = BoxTest;

TEST_F(QtLock, DoubleClickSwitchesTheLockAndWritesItAtOnce) {
  struct Case {
    int b_in_file;
    int after_first;  // b in the file after one double-click
    int after_second;
  };
  // Any b other than 1 is locked.
  const Case cases[] = {{1, 0, 1}, {0, 1, 0}, {2, 1, 0}, {-1, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE("b=" + std::to_string(c.b_in_file));
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=" + std::to_string(c.b_in_file) + "\n");
    Start();
    const QRect before = box_->frameGeometry();

    DoubleClick(At(40, 35));
    EXPECT_EQ(FileNumber("Coordinates", "b"), c.after_first);
    EXPECT_EQ(SettingsRecord.b, c.after_first);
    EXPECT_EQ(UnlockedMode(), c.after_first == 1);

    DoubleClick(At(40, 35));
    EXPECT_EQ(FileNumber("Coordinates", "b"), c.after_second);
    // Locking and unlocking keep the box where it is, at its size.
    EXPECT_EQ(box_->frameGeometry(), before);
  }
}

TEST_F(QtLock, DoubleClickOnTheFrameLocksToo) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  DoubleClick(At(79, 69));  // the bottom-right corner of the resize band
  EXPECT_EQ(FileNumber("Coordinates", "b"), 0);
  EXPECT_EQ(box_->frameGeometry(), QRect(100, 100, 80, 70));
}

TEST_F(QtLock, TheFrameShowsTheLockState) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  const QImage unlocked = box_->grab().toImage();
  DoubleClick(At(40, 35));
  const QImage locked = box_->grab().toImage();
  EXPECT_NE(unlocked, locked);
  DoubleClick(At(40, 35));
  EXPECT_EQ(box_->grab().toImage(), unlocked);
}

TEST_F(QtMoveResize, DraggingMovesOrResizesOnlyTheUnlockedBox) {
  struct Case {
    const char* name;
    int b;
    QPoint press;  // in box coordinates
    QPoint delta;
    QRect frame;   // afterwards; the box starts at (100, 100), 80 x 70
  };
  const Case cases[] = {
      {"body moves", 1, {40, 35}, {30, 20}, {130, 120, 80, 70}},
      {"body moves up and left", 1, {10, 60}, {-50, -40}, {50, 60, 80, 70}},
      {"right side", 1, {79, 35}, {25, 9}, {100, 100, 105, 70}},
      {"bottom side", 1, {40, 68}, {-5, 15}, {100, 100, 80, 85}},
      {"left side", 1, {0, 35}, {-15, 3}, {85, 100, 95, 70}},
      {"top side", 1, {40, 2}, {0, 20}, {100, 120, 80, 50}},
      {"bottom-right corner", 1, {79, 69}, {20, 10}, {100, 100, 100, 80}},
      {"top-left corner near it", 1, {8, 1}, {-10, -10}, {90, 90, 90, 80}},
      {"never below the smallest box", 1, {79, 35}, {-200, 0}, {100, 100, 20, 70}},
      {"too short to be a drag", 1, {40, 35}, {3, 2}, {100, 100, 80, 70}},
      {"locked body", 0, {40, 35}, {30, 20}, {100, 100, 80, 70}},
      {"locked frame", 0, {79, 69}, {20, 10}, {100, 100, 80, 70}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=" + std::to_string(c.b) + "\n");
    Start();
    const QPoint from = At(c.press.x(), c.press.y());
    DragMouse(from, from + c.delta);
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    // Dragging writes nothing.
    EXPECT_EQ(FileNumber("Coordinates", "x"), 100);
  }
}

TEST_F(QtMoveResize, TheBoxStopsFollowingWhenTheButtonGoesUp) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  DragMouse(At(40, 35), At(60, 35));
  ASSERT_EQ(box_->pos(), QPoint(120, 100));
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, At(80, 60));
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, At(80, 60));
  EXPECT_EQ(box_->pos(), QPoint(120, 100));
}

TEST_F(QtMoveResize, ADoubleClickNeverMovesTheBox) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  // The pointer slips while the second press of the double-click is held.
  const QPoint at = At(40, 35);
  Click(Qt::LeftButton, at);
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
  Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at + QPoint(40, 30));
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at + QPoint(40, 30));
  EXPECT_EQ(box_->frameGeometry(), QRect(100, 100, 80, 70));
  EXPECT_FALSE(UnlockedMode());
}

}  // namespace
