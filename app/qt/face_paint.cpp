#include "app/qt/face_paint.h"

#include <QColor>
#include <QPainter>
#include <QPalette>

namespace {

// The button face mixed with share percent of the highlight colour.
QColor Mixed(const QPalette& palette, int share) {
  const QColor face = palette.color(QPalette::Button);
  const QColor over = palette.color(QPalette::Highlight);
  const auto mix = [share](int a, int b) { return (a * (100 - share) + b * share) / 100; };
  return QColor(mix(face.red(), over.red()), mix(face.green(), over.green()),
                mix(face.blue(), over.blue()));
}

}  // namespace

void PaintFace(QPainter& painter, const QRect& body, const QPalette& palette,
               const BoxFeedback::Look& look) {
  if (body.isEmpty()) return;
  for (const BoxFeedback::Band& band : BoxFeedback::BandsOf(look, body.width())) {
    painter.fillRect(QRect(body.left() + band.from, body.top(), band.to - band.from, body.height()),
                     Mixed(palette, band.share));
  }
}
