// A left press on the unlocked box, and the drag that may follow: nothing
// moves until the pointer has left the drag distance around the press, so
// that a click or a double-click never moves the box; then the body moves the
// box whole and the frame resizes it by the sides the press was on, the
// grabbed point staying under the pointer. Where a window manager takes the
// drag over, the shell hands it on at that moment (before the box has moved,
// so the manager starts from the press point); otherwise the box follows the
// pointer by Follow().
#pragma once

#include "app/common/box_geometry.h"

class BoxDrag {
 public:
  enum class Step {
    kNone,    // nothing to do: no drag, still within the distance, or handed over
    kBegin,   // the pointer has just left the drag distance: hand over, or follow
    kFollow,  // the box follows the pointer: put it at Follow()
  };

  // The left button went down at (x, y) on the screen, on the given sides of
  // the frame (none: the body), with the box's outer rectangle at box.
  void Press(int x, int y, Edges edges, const ScreenRect& box);
  // The pointer is at (x, y) with the button held; reach_x and reach_y are
  // the toolkit's drag distance on each axis.
  Step Move(int x, int y, int reach_x, int reach_y);
  // The window manager took the drag over: nothing more follows.
  void HandedOver() { mode_ = Mode::kHandedOver; }
  // The button went up, or the drag must end (a lock, a double-click).
  void End() { mode_ = Mode::kIdle; }

  // Where the box goes for the pointer at (x, y).
  ScreenRect Follow(int x, int y) const;
  bool Following() const { return mode_ == Mode::kFollowing; }
  Edges edges() const { return edges_; }
  // The press, in the box's own coordinates, and the box as it was then.
  int press_x() const { return press_x_ - start_.x; }
  int press_y() const { return press_y_ - start_.y; }
  const ScreenRect& start() const { return start_; }

 private:
  enum class Mode { kIdle, kPressed, kFollowing, kHandedOver };
  Mode mode_ = Mode::kIdle;
  Edges edges_ = kNoEdge;
  int press_x_ = 0;
  int press_y_ = 0;
  ScreenRect start_;
};
