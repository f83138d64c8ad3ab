#include "app/qt/box_frame.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QPalette>

namespace {

// A three-dimensional panel two pixels wide, as Windows draws its frames.
constexpr int kPanelWidth = 2;
// The dialog frame: its raised panel and one pixel of face inside it.
constexpr int kDialogFrame = kPanelWidth + 1;

// The end of a side of the given length that pos lies within reach of; the
// nearer one when a short side puts it within reach of both.
Qt::Edges EdgesNear(int pos, int length, Qt::Edge low, Qt::Edge high, int reach) {
  const bool near_low = pos < reach;
  const bool near_high = pos >= length - reach;
  if (near_low && near_high) return pos < length - 1 - pos ? low : high;
  if (near_low) return low;
  if (near_high) return high;
  return {};
}

}  // namespace

void PaintBoxFrame(QPainter& painter, const QRect& rect, const QPalette& palette, bool unlocked) {
  const QBrush& face = palette.brush(QPalette::Button);
  painter.fillRect(rect, face);
  QRect r = rect;
  if (unlocked) {
    // The resize band: a raised edge with face inside, wider than the locked
    // frame, so the user sees that the box can be moved and sized.
    qDrawWinPanel(&painter, r, palette, false, &face);
    r.adjust(kResizeBand, kResizeBand, -kResizeBand, -kResizeBand);
  }
  if (r.width() <= 0 || r.height() <= 0) return;
  qDrawWinPanel(&painter, r, palette, false, &face);
  r.adjust(kDialogFrame, kDialogFrame, -kDialogFrame, -kDialogFrame);
  if (r.width() <= 0 || r.height() <= 0) return;
  // The sunken edge around the body.
  qDrawWinPanel(&painter, r, palette, true, &face);
}

QRect BoxBody(const QRect& rect, bool unlocked) {
  const int inset = (unlocked ? kResizeBand : 0) + kDialogFrame + kPanelWidth;
  const QRect body = rect.adjusted(inset, inset, -inset, -inset);
  return body.isValid() ? body : QRect();
}

Qt::Edges FrameEdgesAt(const QSize& box, const QPoint& pos) {
  const int w = box.width();
  const int h = box.height();
  if (pos.x() < 0 || pos.y() < 0 || pos.x() >= w || pos.y() >= h) return {};
  // The side whose band holds the point...
  Qt::Edges across = EdgesNear(pos.x(), w, Qt::LeftEdge, Qt::RightEdge, kResizeBand);
  Qt::Edges down = EdgesNear(pos.y(), h, Qt::TopEdge, Qt::BottomEdge, kResizeBand);
  // ...and near a corner the crossing side as well.
  if (across != Qt::Edges() && down == Qt::Edges()) {
    down = EdgesNear(pos.y(), h, Qt::TopEdge, Qt::BottomEdge, kCornerReach);
  } else if (down != Qt::Edges() && across == Qt::Edges()) {
    across = EdgesNear(pos.x(), w, Qt::LeftEdge, Qt::RightEdge, kCornerReach);
  }
  return across | down;
}

Qt::CursorShape CursorForEdges(Qt::Edges edges) {
  const bool horizontal = edges.testAnyFlags(Qt::LeftEdge | Qt::RightEdge);
  const bool vertical = edges.testAnyFlags(Qt::TopEdge | Qt::BottomEdge);
  if (horizontal && vertical) {
    const bool falling =
        edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge);
    return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  }
  if (horizontal) return Qt::SizeHorCursor;
  if (vertical) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}
