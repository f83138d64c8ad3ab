// Painting the look the box's feedback gives (BoxFeedback::Look) into its body.
#pragma once

#include <QRect>

#include "app/common/box_feedback.h"

class QPainter;
class QPalette;

// The parts of the body the look colours (BoxFeedback::BandsOf), in the
// palette's button face mixed with its highlight.
void PaintFace(QPainter& painter, const QRect& body, const QPalette& palette,
               const BoxFeedback::Look& look);
