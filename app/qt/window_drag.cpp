#include "app/qt/window_drag.h"

#include <algorithm>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include "app/qt/box_frame.h"
#include "app/qt/manager_drag.h"

QRect ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta,
                      const QSize& minimum) {
  int left = start.left();
  int top = start.top();
  // One past the far edges, so that widths are plain differences.
  int right = start.left() + start.width();
  int bottom = start.top() + start.height();
  if (edges & Qt::LeftEdge) left = std::min(left + delta.x(), right - minimum.width());
  if (edges & Qt::RightEdge) right = std::max(right + delta.x(), left + minimum.width());
  if (edges & Qt::TopEdge) top = std::min(top + delta.y(), bottom - minimum.height());
  if (edges & Qt::BottomEdge) bottom = std::max(bottom + delta.y(), top + minimum.height());
  return QRect(left, top, right - left, bottom - top);
}

void WindowDrag::Press(QWidget& box, const QPoint& local, const QPoint& global) {
  mode_ = Mode::Pressed;
  edges_ = FrameEdgesAt(box.size(), local);
  press_local_ = local;
  press_global_ = global;
  start_geometry_ = box.geometry();
  start_position_ = box.pos();
}

bool WindowDrag::Move(QWidget& box, const QPoint& global) {
  switch (mode_) {
    case Mode::Idle:
      return false;
    case Mode::System:
      return true;
    case Mode::Following:
      Follow(box, global);
      return true;
    case Mode::Pressed:
      break;
  }
  if ((global - press_global_).manhattanLength() < QApplication::startDragDistance()) return true;

  // The window manager takes the drag over from the press: the box has not
  // moved yet, so the point grabbed stays under the pointer. Without one the
  // box follows the pointer itself, from here on.
  QWindow* window = box.windowHandle();
  if (window != nullptr && StartManagerDrag(*window, press_local_, edges_)) {
    mode_ = Mode::System;
    return true;
  }
  Follow(box, global);
  mode_ = Mode::Following;
  return true;
}

void WindowDrag::Follow(QWidget& box, const QPoint& global) {
  const QPoint delta = global - press_global_;
  if (edges_ == Qt::Edges()) {
    box.move(start_position_ + delta);
  } else {
    box.setGeometry(
        ResizedGeometry(start_geometry_, edges_, delta, QSize(kSmallestSide, kSmallestSide)));
  }
}
