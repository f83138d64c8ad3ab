// Locking by double-click, and moving and resizing the unlocked box with the
// pointer (offscreen there is no window manager, so the box follows the
// pointer itself).
#include <QImage>
#include <QPixmap>
#include <string>

#include "tests/qt/box_fixture.h"

namespace {

using QtLock = BoxTest;

TEST_F(QtLock, ADoubleClickSwitchesTheLockWritesItAndNeverMovesTheBox) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  const QImage unlocked = box_->grab().toImage();
  for (const int b : {0, 1}) {
    SCOPED_TRACE("to b=" + std::to_string(b));
    // A double-click as Qt delivers it, the pointer slipping while the second
    // press is held.
    const QPoint at = At(40, 35);
    const QPoint slipped = at + QPoint(40, 30);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, slipped);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, slipped);
    EXPECT_EQ(FileNumber("b"), b);
    EXPECT_EQ(box_->frameGeometry(), QRect(100, 100, 80, 70));
    // The frame shows the lock state.
    EXPECT_EQ(box_->grab().toImage() == unlocked, b == 1);
  }
}

TEST_F(QtLock, DraggingMovesOrResizesOnlyTheUnlockedBox) {
  struct Case {
    const char* name;
    int b;
    QPoint press;  // in box coordinates
    QPoint delta;
    QRect frame;   // afterwards; the box starts at (100, 100), 80 x 70
  };
  const Case cases[] = {
      {"body moves", 1, {40, 35}, {30, 20}, {130, 120, 80, 70}},
      {"right side", 1, {79, 35}, {25, 9}, {100, 100, 105, 70}},
      {"bottom-right corner", 1, {79, 69}, {20, 10}, {100, 100, 100, 80}},
      {"top side near the left corner", 1, {8, 1}, {-10, -10}, {90, 90, 90, 80}},
      // Never below the smallest box; the far sides stay.
      {"top-left corner, far in", 1, {0, 0}, {200, 200}, {160, 150, 20, 20}},
      {"bottom-right corner, far in", 1, {79, 69}, {-200, -200}, {100, 100, 20, 20}},
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
    // Once the button is up the box no longer follows the pointer.
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, from + c.delta * 2);
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    EXPECT_EQ(FileNumber("x"), 100);  // dragging writes nothing
  }
}

}  // namespace
