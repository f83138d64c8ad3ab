#include "app/qt/drop_box_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "actions/drop_work.h"
#include "app/common/box_keys.h"
#include "app/common/box_lock.h"
#include "app/common/box_opacity.h"
#include "app/common/box_texts.h"
#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "app/qt/box_frame.h"
#include "app/qt/context_menu.h"
#include "app/qt/drop_target.h"
#include "app/qt/face_paint.h"
#include "app/qt/manager_drag.h"
#include "app/qt/settings_dialog.h"
#include "app/qt/status_tip.h"

namespace {

Qt::DropAction QtAction(DropEffect effect) {
  switch (effect) {
    case DropEffect::kCopy:
      return Qt::CopyAction;
    case DropEffect::kLink:
      return Qt::LinkAction;
    case DropEffect::kNone:
      break;
  }
  return Qt::IgnoreAction;
}

ScreenRect ScreenRectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

BoxKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_V:
      return BoxKey::kV;
    case Qt::Key_Insert:
      return BoxKey::kInsert;
    case Qt::Key_F10:
      return BoxKey::kF10;
    case Qt::Key_Menu:
      return BoxKey::kMenu;
    default:
      return BoxKey::kOther;
  }
}

}  // namespace

DropBoxWidget::DropBoxWidget(int x, int y, int w, int h)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  setAccessibleName(QString::fromUtf8(kAccessibleName));
  // Ctrl+V and the menu key reach the box when it is the active window.
  setFocusPolicy(Qt::StrongFocus);
  const BoxSize created = CreatedBoxSize({w, h});
  setGeometry(x, y, created.w, created.h);
  // The pointer shape shows where the unlocked box resizes.
  setMouseTracking(true);
  // Right-clicks are handled on release, as on Windows, and nowhere else.
  setContextMenuPolicy(Qt::PreventContextMenu);
  wake_.setSingleShot(true);
  connect(&wake_, &QTimer::timeout, this, &DropBoxWidget::Refresh);
  // The drops' copies, moves and deletes run off this thread; what they hand
  // back (questions, their end) runs here, from the event loop.
  InstallWindowWaker([this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          box_.RunWindowTasks();
          Refresh();
        },
        Qt::QueuedConnection);
  });
}

DropBoxWidget::~DropBoxWidget() {
  box_.Stop();
  InstallWindowWaker(nullptr);
}

ScreenRect DropBoxWidget::OuterRect() const { return ScreenRectOf(frameGeometry()); }

void DropBoxWidget::ApplySettings() {
  ApplyOpacity();
  ShowLockState();
  show();
  raise();
  const BoxSize size = ShownBoxSize();
  resize(size.w, size.h);
}

void DropBoxWidget::ApplyOpacity() { setWindowOpacity(ShownAlpha() / 255.0); }

void DropBoxWidget::HandleRequest(platform::InstanceRequest request) {
  switch (box_.Requested(std::move(request))) {
    case DropBox::RequestAnswer::kComeToFront:
      show();
      raise();
      activateWindow();
      break;
    case DropBox::RequestAnswer::kExit:
      RunCommand(IDM_EXIT);
      return;
    case DropBox::RequestAnswer::kDone:
      break;
  }
  Refresh();
}

void DropBoxWidget::SettingsApplied() {
  box_.SettingsApplied();
  setAccessibleDescription(QString::fromStdString(box_.Description()));
}

void DropBoxWidget::ShowContextMenu(const QPoint& at) {
  if (menu_ == nullptr) return;
  activateWindow();
  const int id = ChooseFromMenu(*menu_, at);
  if (id != 0) RunCommand(id);
}

void DropBoxWidget::RunCommand(int id) {
  switch (RunMenuCommand(id, OuterRect())) {
    case MenuEffect::kApplySettings:
      ApplySettings();
      SettingsApplied();
      Refresh();
      break;
    case MenuEffect::kEnd:
      End(StopAt::kAfterCurrentFile);
      break;
    case MenuEffect::kShowSettings:
      ShowSettingsWindow();
      break;
    case MenuEffect::kNone:
      break;
  }
}

SettingsDialog* DropBoxWidget::settingsWindow() const { return settings_; }

void DropBoxWidget::ShowSettingsWindow() {
  if (settings_ == nullptr) {
    settings_ =
        new SettingsDialog(this, {[this](int16_t t) { setWindowOpacity(ShownAlphaFor(t) / 255.0); },
                                  [this] {
                                    ApplySettings();
                                    SettingsApplied();
                                    Refresh();
                                  }});
    settings_->setAttribute(Qt::WA_DeleteOnClose);
    // Beside the box, on its screen.
    settings_->adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      const QRect area = screen->availableGeometry();
      const BoxPlace at = WindowPlace(OuterRect(), {settings_->width(), settings_->height()},
                                      {area.x(), area.y(), area.width(), area.height()});
      settings_->move(at.x, at.y);
    }
  }
  settings_->ComeToFront();
}

void DropBoxWidget::Refresh() {
  const BoxFeedback::Frame frame = box_.Update(PointerOver());
  if (frame.repaint) update();
  if (frame.tip == BoxFeedback::TipChange::kShow) {
    if (!tip_) tip_ = std::make_unique<StatusTip>();
    tip_->ShowNear(frameGeometry(), QString::fromStdString(frame.tip_text));
  } else if (frame.tip == BoxFeedback::TipChange::kHide && tip_) {
    tip_->hide();
  }
  if (frame.wake_in) {
    using std::chrono::ceil;
    using std::chrono::milliseconds;
    wake_.start(static_cast<int>(ceil<milliseconds>(*frame.wake_in).count()));
  } else {
    wake_.stop();
  }
}

bool DropBoxWidget::PointerOver() const {
  return isVisible() && frameGeometry().contains(QCursor::pos());
}

void DropBoxWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintBoxFrame(painter, rect(), palette(), UnlockedMode());
  PaintFace(painter, BoxBody(rect(), UnlockedMode()), palette(), box_.Look());
}

void DropBoxWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !UnlockedMode()) return;
  const QPoint at = event->globalPosition().toPoint();
  drag_.Press(at.x(), at.y(), FrameEdgesAt(size(), event->position().toPoint()),
              ScreenRectOf(geometry()));
}

void DropBoxWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!event->buttons().testFlag(Qt::LeftButton)) {
    if (UnlockedMode())
      setCursor(CursorForEdges(FrameEdgesAt(size(), event->position().toPoint())));
    box_.PointerMoved();
    Refresh();
    return;
  }
  const QPoint at = event->globalPosition().toPoint();
  // Qt's drag distance is a Manhattan length; the box's rule is a rectangle
  // around the press, which a straight move leaves after the same distance.
  const int reach = QApplication::startDragDistance() - 1;
  switch (drag_.Move(at.x(), at.y(), reach, reach)) {
    case BoxDrag::Step::kNone:
      return;
    case BoxDrag::Step::kBegin: {
      // The window manager takes the drag over from the press: the box has
      // not moved yet. Without one the box follows the pointer itself.
      QWindow* window = windowHandle();
      if (window != nullptr && StartManagerDrag(*window, QPoint(drag_.press_x(), drag_.press_y()),
                                                QtEdges(drag_.edges()))) {
        drag_.HandedOver();
        return;
      }
      break;
    }
    case BoxDrag::Step::kFollow:
      break;
  }
  const ScreenRect r = drag_.Follow(at.x(), at.y());
  setGeometry(r.x, r.y, r.w, r.h);
}

void DropBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    drag_.End();
    return;
  }
  // The whole locked box is client area; the unlocked one answers as a frame.
  if (event->button() == Qt::RightButton && RightReleaseOpensMenu(!UnlockedMode())) {
    ShowContextMenu(QCursor::pos());
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
  End(session_ending_ ? StopAt::kNextBlock : StopAt::kAfterCurrentFile);
}

void DropBoxWidget::TakeDrag(QDropEvent* event) {
  const Qt::DropActions offered = event->possibleActions();
  const DropEffect effect = box_.DragOver(!drag_list_.isEmpty(), offered.testFlag(Qt::CopyAction),
                                          offered.testFlag(Qt::LinkAction));
  if (effect == DropEffect::kNone) {
    event->ignore();
  } else {
    event->setDropAction(QtAction(effect));
    event->accept();
  }
  Refresh();
}

// The drag's list is read here, once per drag, and kept for its drop; a
// list that names no local file is let go at once.
void DropBoxWidget::dragEnterEvent(QDragEnterEvent* event) {
  drag_list_ = event->mimeData() != nullptr ? DraggedUriList(*event->mimeData()) : QByteArray();
  if (!CarriesLocalFile(drag_list_)) drag_list_ = QByteArray();
  TakeDrag(event);
}

// The source may offer other actions as the user presses modifier keys; what
// it carries stays as it was when it entered.
void DropBoxWidget::dragMoveEvent(QDragMoveEvent* event) { TakeDrag(event); }

void DropBoxWidget::dragLeaveEvent(QDragLeaveEvent*) {
  ForgetDrag();
  box_.DragLeft();
  Refresh();
}

void DropBoxWidget::ForgetDrag() { drag_list_ = QByteArray(); }

// A tip that shows goes along with the box, so it never lies where the box
// has come to be.
void DropBoxWidget::moveEvent(QMoveEvent*) {
  if (tip_ && tip_->isVisible()) tip_->PlaceNear(frameGeometry());
}

void DropBoxWidget::resizeEvent(QResizeEvent*) {
  if (tip_ && tip_->isVisible()) tip_->PlaceNear(frameGeometry());
}

void DropBoxWidget::enterEvent(QEnterEvent*) {
  box_.PointerMoved();
  Refresh();
}

void DropBoxWidget::leaveEvent(QEvent*) {
  box_.PointerLeft();
  Refresh();
}

void DropBoxWidget::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers held = event->modifiers();
  switch (CommandForKey(KeyOf(event->key()), held.testFlag(Qt::ControlModifier),
                        held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::AltModifier))) {
    case KeyCommand::kPaste:
      box_.Paste();
      Refresh();
      return;
    case KeyCommand::kOpenMenu: {
      const ScreenRect outer = OuterRect();
      ShowContextMenu(QPoint(outer.MiddleX(), outer.MiddleY()));
      return;
    }
    case KeyCommand::kNone:
      break;
  }
  QWidget::keyPressEvent(event);
}

// The paths are made from the list once, here, and only for a drop the box
// takes.
void DropBoxWidget::dropEvent(QDropEvent* event) {
  TakeDrag(event);
  std::vector<std::string> paths;
  if (event->isAccepted()) paths = DroppedLocalPaths(drag_list_);
  ForgetDrag();
  if (paths.empty()) {
    event->ignore();
    box_.DragLeft();
    Refresh();
    return;
  }
  box_.Receive(std::move(paths));
  Refresh();
  // The action runs once the drop is finished, so the source is not kept
  // waiting while a question is on the screen (the drop is over for it, as
  // for a Windows shell once it has posted its drop).
  QTimer::singleShot(0, this, [this] {
    box_.HandleWaiting();
    Refresh();
  });
}

void DropBoxWidget::ShowLockState() {
  if (!UnlockedMode()) {
    drag_.End();
    unsetCursor();
  }
  update();
}

void DropBoxWidget::End(StopAt at) {
  if (ended_) return;
  ended_ = true;
  // Gone from the screen at once; the current file of running work is
  // finished and the rest skipped before the program ends.
  hide();
  if (tip_) tip_->hide();
  box_.Stop(at);
  emit ended();
}
