#include "app/qt/face_paint.h"

#include <cmath>

#include <QColor>
#include <QPainter>
#include <QPalette>

namespace {

// How strongly each part covers the button face (of 255).
constexpr int kFillAlpha = 140;
constexpr int kHoverAlpha = 90;
constexpr int kFlashAlpha = 200;

QColor Highlight(const QPalette& palette, int alpha) {
  QColor color = palette.color(QPalette::Highlight);
  color.setAlpha(alpha);
  return color;
}

}  // namespace

void PaintFace(QPainter& painter, const QRect& body, const QPalette& palette,
               const BoxFeedback::Look& look) {
  if (body.isEmpty()) return;
  if (look.done >= 0) {
    const int width = static_cast<int>(std::lround(body.width() * look.done));
    painter.fillRect(QRect(body.left(), body.top(), width, body.height()),
                     Highlight(palette, kFillAlpha));
  }
  if (look.tint == BoxFeedback::Tint::kHover)
    painter.fillRect(body, Highlight(palette, kHoverAlpha));
  if (look.tint == BoxFeedback::Tint::kFlash)
    painter.fillRect(body, Highlight(palette, kFlashAlpha));
}
