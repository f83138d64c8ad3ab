// Where the drop box is and how big, on every screen and in both programs:
// the size and place it is shown at, the size it is created with, which
// sides of its frame a press resizes, and where a drag of its body or frame
// takes it. Coordinates are screen pixels as the settings file keeps them
// (on Windows 96-DPI pixels; the shell scales).
#pragma once

#include <span>

// A rectangle on the screens: its top-left corner and its size.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  // The middle, where the keyboard opens the menu; rounded down.
  int MiddleX() const { return x + w / 2; }
  int MiddleY() const { return y + h / 2; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct BoxSize {
  int w;
  int h;
};
struct BoxPlace {
  int x;
  int y;
};

// The outer size the box is shown at: w and h as stored, except that one
// below 1, which would leave nothing to see or grab, is shown at its first-run
// value. The settings file is not changed for this.
BoxSize ShownBoxSize();

// The top-left corner the box is shown at, given the work area of every
// screen with the primary's first: x and y as stored when the box there, at
// its shown size, meets one of them; otherwise the first-run place when the
// box there meets the primary's work area, else that area's top-left corner.
// So a box stored off every screen (a screen since unplugged) comes back
// where it can be reached. With no screen known, x and y as stored. The
// settings file is not changed for this: Exit writes where the box is.
BoxPlace ShownBoxPlace(std::span<const ScreenRect> work_areas);

// The size the box is created with before the settings give it its own:
// w + 4 by h + 12, as the Windows program has always made its window.
BoxSize CreatedBoxSize(BoxSize shown);

// The smallest outer side a resize by the pointer leaves: below it the box
// would be no target for a drop any more.
constexpr int kSmallestSide = 20;

// The sides of the box a press resizes, as bits.
enum Edge : unsigned { kNoEdge = 0, kLeftEdge = 1, kTopEdge = 2, kRightEdge = 4, kBottomEdge = 8 };
using Edges = unsigned;

// The sides a press at (px, py) resizes, for a box whose frame is what lies
// inside outer and outside inner: none on the body or off the box, one side
// on its band, and near a corner (within corner_reach of it along a side) the
// crossing side too. Where the box is too small for a body inside the band,
// the nearer side of each pair.
Edges FrameEdgesAt(const ScreenRect& outer, const ScreenRect& inner, int px, int py,
                   int corner_reach);

// The box begin after the pointer dragged it by (dx, dy): moved whole when no
// edge is held, else with the held edges moved, never below kSmallestSide and
// never moving the opposite edge.
ScreenRect DraggedRect(const ScreenRect& begin, Edges edges, int dx, int dy);

// Where the box's tip goes, for a tip of size tip and a box at box now, on
// the work area of the box's screen: beside the box, never over it (the tip
// would take the clicks meant for the box), gap pixels away. Below it when
// it fits there, else above, else to the right, else to the left, each
// moved along the box's side to lie within the area; below when it fits
// nowhere.
BoxPlace TipPlace(const ScreenRect& box, BoxSize tip, const ScreenRect& area, int gap);

// Where a window that belongs to the box (its settings window) goes: where
// its tip would, beside the box; where it fits nowhere beside the box, as
// near as that on the work area, over the box if it must.
BoxPlace WindowPlace(const ScreenRect& box, BoxSize window, const ScreenRect& area);
