// Painting the look the box's feedback gives (BoxFeedback::Look) into its body.
#pragma once

#include <QRect>

#include "app/common/box_feedback.h"

class QPainter;
class QPalette;

// The share done as a fill from the left, then the hover highlight or the
// flash over the whole body, both in the palette's highlight colour.
void PaintFace(QPainter& painter, const QRect& body, const QPalette& palette,
               const BoxFeedback::Look& look);
