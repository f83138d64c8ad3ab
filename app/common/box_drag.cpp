#include "app/common/box_drag.h"

#include <cstdlib>

void BoxDrag::Press(int x, int y, Edges edges, const ScreenRect& box) {
  mode_ = Mode::kPressed;
  edges_ = edges;
  press_x_ = x;
  press_y_ = y;
  start_ = box;
}

BoxDrag::Step BoxDrag::Move(int x, int y, int reach_x, int reach_y) {
  switch (mode_) {
    case Mode::kIdle:
    case Mode::kHandedOver:
      return Step::kNone;
    case Mode::kFollowing:
      return Step::kFollow;
    case Mode::kPressed:
      break;
  }
  if (std::abs(x - press_x_) <= reach_x && std::abs(y - press_y_) <= reach_y) return Step::kNone;
  mode_ = Mode::kFollowing;
  return Step::kBegin;
}

ScreenRect BoxDrag::Follow(int x, int y) const {
  return DraggedRect(start_, edges_, x - press_x_, y - press_y_);
}
