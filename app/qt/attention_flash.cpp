#include "app/qt/attention_flash.h"

#include <QPalette>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kFlashes = 3;
constexpr int kPhaseMs = 120;

}  // namespace

void FlashForAttention(QWidget& box) {
  // A child that covers the face while it is shown; it keeps no state in the
  // box, so whatever the box paints is back as soon as it is gone.
  auto* cover = box.findChild<QWidget*>("attention", Qt::FindDirectChildrenOnly);
  if (cover != nullptr) delete cover;
  cover = new QWidget(&box);
  cover->setObjectName("attention");
  cover->setAttribute(Qt::WA_TransparentForMouseEvents);
  cover->setAutoFillBackground(true);
  QPalette palette = cover->palette();
  palette.setColor(QPalette::Window, box.palette().color(QPalette::Highlight));
  cover->setPalette(palette);
  cover->setGeometry(box.rect());
  cover->show();
  auto* timer = new QTimer(cover);
  QObject::connect(timer, &QTimer::timeout, cover, [cover, phase = 0]() mutable {
    if (++phase >= 2 * kFlashes) {
      cover->deleteLater();
      return;
    }
    cover->setGeometry(cover->parentWidget()->rect());
    cover->setVisible(phase % 2 == 0);
  });
  timer->start(kPhaseMs);
}
