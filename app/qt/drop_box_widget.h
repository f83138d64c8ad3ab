// The drop box on Qt: a small frameless tool window above all others. It
// turns Qt's events into calls on the box (DropBox, BoxDrag, the lock and
// menu rules) and paints and shows what the box says.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "app/common/box_drag.h"
#include "app/common/box_geometry.h"
#include "app/common/drop_box.h"
#include "platform/instance.h"

class QMenu;
class SettingsDialog;
class StatusTip;

class DropBoxWidget : public QWidget {
  Q_OBJECT

 public:
  // Creates the box hidden with its top-left corner at (x, y) and the size a
  // box of outer size w x h is created with; ApplySettings gives it its real
  // size when it shows it.
  DropBoxWidget(int x, int y, int w, int h);
  // Stops the drops' work (the current file is finished) before it goes.
  ~DropBoxWidget() override;

  // The frame's rectangle on the screen.
  ScreenRect OuterRect() const;
  // Opacity from t, the frame from b, then shown, raised above the others and
  // given the outer size w x h where it stands; x and y are not used.
  void ApplySettings();
  // After the settings were applied: an unusable settings file is reported,
  // and the tip and screen readers say what a drop does now.
  void SettingsApplied();
  // Whole-window opacity from t (ShownAlpha).
  void ApplyOpacity();
  // The menu that a right-click opens (BuildContextMenu).
  void SetContextMenu(QMenu* menu) { menu_ = menu; }
  QMenu* contextMenu() const { return menu_; }
  // Opens the menu at a point on the screen and runs the chosen command.
  void ShowContextMenu(const QPoint& at);
  // Once the box shows (DropBox::SweepDestinations).
  void SweepDestinations() { box_.SweepDestinations(); }
  // The session ends, or the program was told to end: running work stops
  // at its next block, and the box ends as by a close.
  void EndSession() { End(StopAt::kNextBlock); }
  // From now on a close is the session's end (its manager asked the
  // programs to save their data first).
  void SessionEnding() { session_ending_ = true; }
  // A start's request (DropBox::Requested): its paths are handled as a
  // drop, or the box comes to the front.
  void HandleRequest(platform::InstanceRequest request);
  // What the box's tip says now (empty before the first drop).
  const std::string& Tip() const { return box_.Tip(); }
  // The settings window: shown, or the open one brought to the front; the
  // one open now (null when none is).
  void ShowSettingsWindow();
  SettingsDialog* settingsWindow() const;

 signals:
  // The box was destroyed by Exit or closed: the program ends with code 0.
  void ended();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Shows what the box says now: the look, the tip, when to look again.
  void Refresh();
  bool PointerOver() const;
  // Takes a drag that enters or moves over the box, or refuses it, by
  // whether it carries local files.
  void TakeDrag(QDropEvent* event);
  // The drag has dropped or left: its list goes.
  void ForgetDrag();
  void RunCommand(int id);
  // Redraws the frame and resets the pointer shape after a lock change.
  void ShowLockState();
  void End(StopAt at);

  DropBox box_;
  BoxDrag drag_;
  QMenu* menu_ = nullptr;
  QTimer wake_;
  std::unique_ptr<StatusTip> tip_;  // made when first shown
  QPointer<SettingsDialog> settings_;
  // The list of the drag over the box as read when it entered
  // (drop_target.h), kept only when it names local files; its moves and its
  // drop do not read it again.
  QByteArray drag_list_;
  bool ended_ = false;
  bool session_ending_ = false;
};
