#include "app/qt/box_frame.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QPalette>

namespace {

// A three-dimensional panel two pixels wide, as Windows draws its frames.
constexpr int kPanelWidth = 2;
// The dialog frame: its raised panel and one pixel of face inside it.
constexpr int kDialogFrame = kPanelWidth + 1;

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

Edges FrameEdgesAt(const QSize& box, const QPoint& pos) {
  const ScreenRect outer{0, 0, box.width(), box.height()};
  const ScreenRect body{kResizeBand, kResizeBand, box.width() - 2 * kResizeBand,
                        box.height() - 2 * kResizeBand};
  return ::FrameEdgesAt(outer, body, pos.x(), pos.y(), kCornerReach);
}

Qt::Edges QtEdges(Edges edges) {
  Qt::Edges qt;
  if (edges & kLeftEdge) qt |= Qt::LeftEdge;
  if (edges & kTopEdge) qt |= Qt::TopEdge;
  if (edges & kRightEdge) qt |= Qt::RightEdge;
  if (edges & kBottomEdge) qt |= Qt::BottomEdge;
  return qt;
}

Qt::CursorShape CursorForEdges(Edges edges) {
  const bool horizontal = (edges & (kLeftEdge | kRightEdge)) != 0;
  const bool vertical = (edges & (kTopEdge | kBottomEdge)) != 0;
  if (horizontal && vertical) {
    const bool falling = edges == (kTopEdge | kLeftEdge) || edges == (kBottomEdge | kRightEdge);
    return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  }
  if (horizontal) return Qt::SizeHorCursor;
  if (vertical) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}
