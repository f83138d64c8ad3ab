#include "app/common/box_geometry.h"

#include <algorithm>

#include "settings/settings_keys.h"
#include "settings/settings_record.h"

namespace {

int Visible(int16_t stored, const char* key) { return stored >= 1 ? stored : FirstRunValue(key); }

// True when the box at place, of size, shares at least one pixel with area.
bool Meets(const ScreenRect& area, BoxPlace place, BoxSize size) {
  return place.x < area.x + area.w && area.x < place.x + size.w && place.y < area.y + area.h &&
         area.y < place.y + size.h;
}

// The end of one side that pos lies on the band of: low before inner_low,
// high from inner_high on; the nearer end of the outer side when a short side
// puts it on both.
Edges EdgeAlong(int pos, int outer_low, int outer_high, int inner_low, int inner_high, Edge low,
                Edge high) {
  const bool near_low = pos < inner_low;
  const bool near_high = pos >= inner_high;
  if (near_low && near_high) return pos - outer_low < outer_high - 1 - pos ? low : high;
  if (near_low) return low;
  if (near_high) return high;
  return kNoEdge;
}

}  // namespace

BoxSize ShownBoxSize() { return {Visible(SettingsRecord.w, "w"), Visible(SettingsRecord.h, "h")}; }

BoxPlace ShownBoxPlace(std::span<const ScreenRect> work_areas) {
  const BoxSize size = ShownBoxSize();
  const BoxPlace stored{SettingsRecord.x, SettingsRecord.y};
  if (work_areas.empty()) return stored;
  for (const ScreenRect& area : work_areas) {
    if (Meets(area, stored, size)) return stored;
  }
  const ScreenRect& primary = work_areas.front();
  const BoxPlace first_run{FirstRunValue("x"), FirstRunValue("y")};
  if (Meets(primary, first_run, size)) return first_run;
  return {primary.x, primary.y};
}

BoxSize CreatedBoxSize(BoxSize shown) { return {shown.w + 4, shown.h + 12}; }

Edges FrameEdgesAt(const ScreenRect& outer, const ScreenRect& inner, int px, int py,
                   int corner_reach) {
  if (!outer.Contains(px, py)) return kNoEdge;
  const int right = outer.x + outer.w;
  const int bottom = outer.y + outer.h;
  // The side whose band holds the point...
  Edges across = EdgeAlong(px, outer.x, right, inner.x, inner.x + inner.w, kLeftEdge, kRightEdge);
  Edges down = EdgeAlong(py, outer.y, bottom, inner.y, inner.y + inner.h, kTopEdge, kBottomEdge);
  // ...and near a corner the crossing side as well.
  if (across != kNoEdge && down == kNoEdge) {
    down = EdgeAlong(py, outer.y, bottom, outer.y + corner_reach, bottom - corner_reach, kTopEdge,
                     kBottomEdge);
  } else if (down != kNoEdge && across == kNoEdge) {
    across = EdgeAlong(px, outer.x, right, outer.x + corner_reach, right - corner_reach, kLeftEdge,
                       kRightEdge);
  }
  return across | down;
}

ScreenRect DraggedRect(const ScreenRect& begin, Edges edges, int dx, int dy) {
  if (edges == kNoEdge) return {begin.x + dx, begin.y + dy, begin.w, begin.h};
  int left = begin.x;
  int top = begin.y;
  // One past the far edges, so that sizes are plain differences.
  int right = begin.x + begin.w;
  int bottom = begin.y + begin.h;
  if (edges & kLeftEdge) left = std::min(left + dx, right - kSmallestSide);
  if (edges & kRightEdge) right = std::max(right + dx, left + kSmallestSide);
  if (edges & kTopEdge) top = std::min(top + dy, bottom - kSmallestSide);
  if (edges & kBottomEdge) bottom = std::max(bottom + dy, top + kSmallestSide);
  return {left, top, right - left, bottom - top};
}

BoxPlace TipPlace(const ScreenRect& box, BoxSize tip, const ScreenRect& area, int gap) {
  // Along a side, the tip starts where the box does, kept within the area
  // as far as it fits.
  const auto along = [](int start, int size, int area_start, int area_size) {
    return std::max(area_start, std::min(start, area_start + area_size - size));
  };
  const int x = along(box.x, tip.w, area.x, area.w);
  const int y = along(box.y, tip.h, area.y, area.h);
  const BoxPlace sides[] = {{x, box.y + box.h + gap},
                            {x, box.y - gap - tip.h},
                            {box.x + box.w + gap, y},
                            {box.x - gap - tip.w, y}};
  for (const BoxPlace& at : sides) {
    if (at.x >= area.x && at.y >= area.y && at.x + tip.w <= area.x + area.w &&
        at.y + tip.h <= area.y + area.h) {
      return at;
    }
  }
  return sides[0];
}

BoxPlace WindowPlace(const ScreenRect& box, BoxSize window, const ScreenRect& area) {
  const BoxPlace beside = TipPlace(box, window, area, 0);
  return {std::max(area.x, std::min(beside.x, area.x + area.w - window.w)),
          std::max(area.y, std::min(beside.y, area.y + area.h - window.h))};
}
