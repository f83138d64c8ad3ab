// The drop box: a small frameless tool window above all others that takes
// dropped files, opens the context menu on a right-click and switches between
// locked and unlocked on a double-click.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "app/common/menu_commands.h"
#include "app/qt/box_feedback.h"
#include "app/qt/window_drag.h"

class QMenu;

class DropBoxWidget : public QWidget, public ShellWindow {
  Q_OBJECT

 public:
  // Creates the box hidden with its top-left corner at (x, y) and the size a
  // Windows box of outer size w x h is created with (w + 4 by h + 12);
  // ApplySettings gives it its real size when it shows it.
  DropBoxWidget(int x, int y, int w, int h);
  // Stops the drops' work (the current file is finished) before it goes.
  ~DropBoxWidget() override;

  // The frame's rectangle on the screen.
  WindowRect OuterRect() override;
  // Opacity from t, the frame from b, then shown, raised above the others and
  // given the outer size w x h where it stands; x and y are not used.
  void ApplySettings() override;
  // Hides the box for good and ends the program, once the current file of
  // any running work is finished.
  void Destroy() override;

  // Whole-window opacity for t percent (AlphaFromPercent).
  void SetOpacityPercent(int16_t t);
  // The menu that a right-click opens (BuildContextMenu).
  void SetContextMenu(QMenu* menu) { menu_ = menu; }
  QMenu* contextMenu() const { return menu_; }
  // Opens the menu at the pointer and runs the chosen command.
  void ShowContextMenu();
  // What the box's tip says now (empty before the first drop).
  const std::string& Tip() const { return feedback_.Tip(); }

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

 private:
  // Redraws the frame and resets the pointer shape after a lock change.
  void ShowLockState();
  void End();

  QMenu* menu_ = nullptr;
  WindowDrag drag_;
  BoxFeedback feedback_{*this};
  bool ended_ = false;
};
