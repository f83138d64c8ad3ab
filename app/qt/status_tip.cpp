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
  hide_timer_.setSingleShot(true);
  connect(&hide_timer_, &QTimer::timeout, this, &QWidget::hide);
}

void StatusTip::ShowNear(const QRect& box, const QString& text, int hide_after_ms) {
  Update(text);
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
  if (hide_after_ms > 0)
    hide_timer_.start(hide_after_ms);
  else
    hide_timer_.stop();
}

void StatusTip::Update(const QString& text) {
  if (text == this->text()) return;
  setText(text);
  setWindowTitle(text);
  if (isVisible()) adjustSize();
}
