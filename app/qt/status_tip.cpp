#include "app/qt/status_tip.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

#include "app/common/box_geometry.h"

namespace {

constexpr int kGap = 4;

ScreenRect ScreenRectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

StatusTip::StatusTip()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::WindowTransparentForInput) {
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
  PlaceNear(box);
  show();
}

void StatusTip::PlaceNear(const QRect& box) {
  const QScreen* screen = QGuiApplication::screenAt(box.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : box;
  const BoxPlace at = TipPlace(ScreenRectOf(box), {width(), height()}, ScreenRectOf(area), kGap);
  move(at.x, at.y);
}
