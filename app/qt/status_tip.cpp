#include "app/qt/status_tip.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

namespace {

constexpr int kGap = 4;

}  // namespace

StatusTip::StatusTip()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setForegroundRole(QPalette::ToolTipText);
  setBackgroundRole(QPalette::ToolTipBase);
  setPalette(QToolTip::palette());
  setAutoFillBackground(true);
  setMargin(4);
  setTextFormat(Qt::PlainText);
}

void StatusTip::ShowNear(const QRect& box, const QString& text) {
  setText(text);
  setWindowTitle(text);
  adjustSize();
  QPoint at(box.left(), box.bottom() + 1 + kGap);
  const QScreen* screen = QGuiApplication::screenAt(box.center());
  if (screen != nullptr) {
    const QRect room = screen->availableGeometry();
    if (at.y() + height() > room.bottom()) at.setY(box.top() - kGap - height());
    at.setX(qBound(room.left(), at.x(), qMax(room.left(), room.right() + 1 - width())));
  }
  move(at);
  show();
}
