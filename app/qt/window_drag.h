// Moving the unlocked box by its body and resizing it by its band. The window
// manager does the work where it offers to (StartManagerDrag); without one,
// on a bare X server for instance, the box follows the pointer itself.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

// The smallest box a resize by the pointer leaves.
constexpr int kSmallestSide = 20;

// The geometry after the given edges of start were dragged by delta. An edge
// stops where the box would become smaller than minimum; the opposite edge
// never moves.
QRect ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta,
                      const QSize& minimum);

class WindowDrag {
 public:
  // A left press at local (in box coordinates) and global (on the screen).
  // Nothing happens until the pointer has moved as far as a drag must go, so
  // that a double-click never moves the box.
  void Press(QWidget& box, const QPoint& local, const QPoint& global);
  // The pointer moved with the left button held. True when the move belongs
  // to a drag of the box.
  bool Move(QWidget& box, const QPoint& global);
  // The button went up, or the drag must end (lock, double-click).
  void End() { mode_ = Mode::Idle; }

 private:
  enum class Mode {
    Idle,       // no button down on the box
    Pressed,    // button down, not yet moved far enough
    Following,  // the box follows the pointer by itself
    System,     // the window manager moves or sizes the box
  };

  void Follow(QWidget& box, const QPoint& global);

  Mode mode_ = Mode::Idle;
  Qt::Edges edges_;        // the sides being resized; none for a move
  QPoint press_local_;     // where the button went down, in the box
  QPoint press_global_;    // and on the screen
  QRect start_geometry_;   // the box's geometry at that moment
  QPoint start_position_;  // and the top-left corner of its frame
};
