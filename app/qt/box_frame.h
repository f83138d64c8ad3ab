// The look of the drop box: the button-face body inside a raised dialog frame
// and a sunken inner edge, and around them, while the box is unlocked, the
// band by which it is resized.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

#include "app/common/box_geometry.h"

class QPainter;
class QPalette;

// Width of the resize band along each side of the unlocked box.
constexpr int kResizeBand = 4;
// Along a side, this far from a corner the band resizes both sides at once.
constexpr int kCornerReach = 12;

// Paints the whole box into rect.
void PaintBoxFrame(QPainter& painter, const QRect& rect, const QPalette& palette, bool unlocked);
// The body inside the frame that PaintBoxFrame draws into rect; empty when
// the box is too small to have one.
QRect BoxBody(const QRect& rect, bool unlocked);

// The sides a press at pos (in box coordinates) resizes: none outside the
// band, one side along it, two near a corner.
Edges FrameEdgesAt(const QSize& box, const QPoint& pos);
// The same sides as Qt names them.
Qt::Edges QtEdges(Edges edges);

// The pointer shape that tells what the band does at these edges.
Qt::CursorShape CursorForEdges(Edges edges);
