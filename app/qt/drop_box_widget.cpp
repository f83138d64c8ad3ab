#include "app/qt/drop_box_widget.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <string>
#include <utility>
#include <vector>

#include "actions/drop_list.h"
#include "actions/drop_work.h"
#include "app/common/lock_toggle.h"
#include "app/common/program.h"
#include "app/qt/box_frame.h"
#include "app/qt/context_menu.h"
#include "app/qt/drop_target.h"
#include "settings/settings_record.h"

DropBoxWidget::DropBoxWidget(int x, int y, int w, int h)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  setGeometry(x, y, w + 4, h + 12);
  // The pointer shape shows where the unlocked box resizes.
  setMouseTracking(true);
  // Right-clicks are handled on release, as on Windows, and nowhere else.
  setContextMenuPolicy(Qt::PreventContextMenu);
  // The drops' copies, moves and deletes run off this thread; what they hand
  // back (questions, their end) runs here, from the event loop.
  InstallWindowWaker([this] {
    QMetaObject::invokeMethod(
        this, [] { RunWindowTasks(); }, Qt::QueuedConnection);
  });
}

DropBoxWidget::~DropBoxWidget() {
  StopDropWork();
  InstallWindowWaker(nullptr);
}

WindowRect DropBoxWidget::OuterRect() {
  const QRect frame = frameGeometry();
  return {frame.x(), frame.y(), frame.x() + frame.width(), frame.y() + frame.height()};
}

void DropBoxWidget::ApplySettings() {
  SetOpacityPercent(SettingsRecord.t);
  ShowLockState();
  show();
  raise();
  const BoxSize size = ShownBoxSize();
  resize(size.w, size.h);
}

void DropBoxWidget::Destroy() {
  hide();
  End();
}

void DropBoxWidget::SetOpacityPercent(int16_t t) { setWindowOpacity(AlphaFromPercent(t) / 255.0); }

void DropBoxWidget::ShowContextMenu() {
  if (menu_ == nullptr) return;
  activateWindow();
  const int id = ChooseFromMenu(*menu_, QCursor::pos());
  if (id != 0) RunMenuCommand(id, *this);
}

void DropBoxWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintBoxFrame(painter, rect(), palette(), UnlockedMode());
  feedback_.Paint(painter, BoxBody(rect(), UnlockedMode()));
}

void DropBoxWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && UnlockedMode()) {
    drag_.Press(*this, event->position().toPoint(), event->globalPosition().toPoint());
  }
}

void DropBoxWidget::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons().testFlag(Qt::LeftButton)) {
    drag_.Move(*this, event->globalPosition().toPoint());
    return;
  }
  if (UnlockedMode()) {
    setCursor(CursorForEdges(FrameEdgesAt(size(), event->position().toPoint())));
  }
}

void DropBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    drag_.End();
    return;
  }
  // The unlocked box always opens the menu; the locked one only when m is 1.
  if (event->button() == Qt::RightButton && (UnlockedMode() || SettingsRecord.m == 1)) {
    ShowContextMenu();
  }
}

void DropBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The second press of the double-click must not start a drag.
  drag_.End();
  ToggleLock();
  ShowLockState();
}

void DropBoxWidget::closeEvent(QCloseEvent* event) {
  // Closed by the window manager or the session: nothing is saved.
  event->accept();
  End();
}

void DropBoxWidget::dragEnterEvent(QDragEnterEvent* event) {
  const Qt::DropAction action = AcceptedDropAction(event->possibleActions());
  if (event->mimeData() == nullptr || !CarriesLocalFile(*event->mimeData()) ||
      action == Qt::IgnoreAction) {
    event->ignore();
    return;
  }
  event->setDropAction(action);
  event->accept();
  feedback_.SetHover(true);
}

void DropBoxWidget::dragMoveEvent(QDragMoveEvent* event) {
  // The source may offer other actions as the user presses modifier keys.
  const Qt::DropAction action = AcceptedDropAction(event->possibleActions());
  feedback_.SetHover(action != Qt::IgnoreAction);
  if (action == Qt::IgnoreAction) {
    event->ignore();
    return;
  }
  event->setDropAction(action);
  event->accept();
}

void DropBoxWidget::dragLeaveEvent(QDragLeaveEvent*) { feedback_.SetHover(false); }

void DropBoxWidget::enterEvent(QEnterEvent*) { feedback_.PointerEntered(); }

void DropBoxWidget::leaveEvent(QEvent*) { feedback_.PointerLeft(); }

void DropBoxWidget::dropEvent(QDropEvent* event) {
  const Qt::DropAction action = AcceptedDropAction(event->possibleActions());
  std::vector<std::string> paths;
  if (event->mimeData() != nullptr) paths = DroppedLocalPaths(*event->mimeData());
  if (paths.empty() || action == Qt::IgnoreAction) {
    feedback_.SetHover(false);
    event->ignore();
    return;
  }
  event->setDropAction(action);
  event->accept();
  feedback_.Dropped();
  // The action runs once the drop is finished, so the source is not kept
  // waiting while a question is on the screen (the drop is over for it, as
  // for a Windows shell once it has posted its drop).
  QTimer::singleShot(0, this, [this, dropped = std::move(paths)]() mutable {
    SubmitDrop(std::move(dropped));
    feedback_.WorkMayHaveBegun();
  });
}

void DropBoxWidget::ShowLockState() {
  if (!UnlockedMode()) {
    drag_.End();
    unsetCursor();
  }
  update();
}

void DropBoxWidget::End() {
  if (ended_) return;
  ended_ = true;
  // Gone from the screen at once; the current file of running work is
  // finished and the rest skipped before the program ends.
  hide();
  StopDropWork();
  emit ended();
}
