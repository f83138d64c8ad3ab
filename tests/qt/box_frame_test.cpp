// Where the unlocked box's band resizes, and how a resize by the pointer
// changes the geometry.
#include "app/qt/box_frame.h"

#include <gtest/gtest.h>

#include "app/qt/window_drag.h"

namespace {

TEST(QtFrame, TheBandResizesTheSideOrCornerUnderThePointer) {
  struct Case {
    QSize box;
    QPoint at;
    Qt::Edges edges;
  };
  const QSize square(75, 75);
  const Case cases[] = {
      {square, {37, 37}, {}},
      {square, {4, 37}, {}},  // just inside the band
      {square, {3, 37}, Qt::LeftEdge},
      {square, {0, 37}, Qt::LeftEdge},
      {square, {74, 37}, Qt::RightEdge},
      {square, {71, 37}, Qt::RightEdge},
      {square, {70, 37}, {}},
      {square, {37, 0}, Qt::TopEdge},
      {square, {37, 74}, Qt::BottomEdge},
      {square, {0, 0}, Qt::TopEdge | Qt::LeftEdge},
      {square, {74, 74}, Qt::BottomEdge | Qt::RightEdge},
      {square, {74, 0}, Qt::TopEdge | Qt::RightEdge},
      {square, {0, 74}, Qt::BottomEdge | Qt::LeftEdge},
      // Along a side, near a corner, both sides.
      {square, {11, 1}, Qt::TopEdge | Qt::LeftEdge},
      {square, {12, 1}, Qt::TopEdge},
      {square, {73, 63}, Qt::RightEdge | Qt::BottomEdge},
      {square, {73, 62}, Qt::RightEdge},
      // Outside the box nothing.
      {square, {-1, 37}, {}},
      {square, {75, 37}, {}},
      // A box narrower than two bands: the nearer side.
      {{6, 40}, {1, 20}, Qt::LeftEdge},
      {{6, 40}, {4, 20}, Qt::RightEdge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.box.width() << "x" << c.box.height() << " at "
                                    << c.at.x() << "," << c.at.y());
    EXPECT_EQ(FrameEdgesAt(c.box, c.at), c.edges);
  }
}

TEST(QtFrame, ResizingMovesOnlyTheDraggedSides) {
  struct Case {
    Qt::Edges edges;
    QPoint delta;
    QRect result;
  };
  const QRect start(100, 100, 80, 70);
  const QSize minimum(20, 20);
  const Case cases[] = {
      {Qt::RightEdge, {10, 99}, {100, 100, 90, 70}},
      {Qt::BottomEdge, {99, -10}, {100, 100, 80, 60}},
      {Qt::LeftEdge, {-10, 5}, {90, 100, 90, 70}},
      {Qt::TopEdge, {5, 30}, {100, 130, 80, 40}},
      {Qt::TopEdge | Qt::LeftEdge, {-5, -6}, {95, 94, 85, 76}},
      // The far side stays when the box reaches its smallest size.
      {Qt::LeftEdge, {100, 0}, {160, 100, 20, 70}},
      {Qt::TopEdge, {0, 100}, {100, 150, 80, 20}},
      {Qt::RightEdge | Qt::BottomEdge, {-100, -100}, {100, 100, 20, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.delta.x() << "," << c.delta.y());
    EXPECT_EQ(ResizedGeometry(start, c.edges, c.delta, minimum), c.result);
  }
}

}  // namespace
