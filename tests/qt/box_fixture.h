// The widget tests' ground: the program started over a settings file in a
// temporary folder (home, settings and Trash there too), message boxes
// answered from a script, the clipboard captured, and mouse, menu and drag
// events delivered to the box as the window system delivers them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>

#include "actions/drop_list.h"
#include "app/qt/drop_box_widget.h"
#include "app/qt/startup.h"
#include "settings/ini_file.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

class BoxTest : public ::testing::Test {
 protected:
  BoxTest() {
    testing_support::MakeFolder(folder_ / "program");
    // The home folder exists, as a user's does.
    testing_support::MakeFolder(folder_ / "home");
  }
  ~BoxTest() override {
    box_.reset();
    Settle();
  }

  // The settings file's two sections with these lines.
  void WriteSettings(const std::string& coordinates, const std::string& options = "") {
    testing_support::WriteFile(SettingsPath(),
                               "[Coordinates]\n" + coordinates + "[Options]\n" + options);
  }
  // Starts the program as main does, over folder_/program/.
  void Start() {
    box_ = StartDropBoxIn(folder_ / "program/", folder_ / "config/quorlith/");
    QObject::connect(box_.get(), &DropBoxWidget::ended, [this] { ++ended_; });
    Settle();
  }
  std::string SettingsPath() const { return folder_ / "program/Quorlith.ini"; }
  std::string SettingsBytes() const { return testing_support::ReadFile(SettingsPath()); }
  // A number of the file's [Coordinates]; -999 when missing.
  int FileNumber(const char* key) const {
    return ReadIniNumber(SettingsPath().c_str(), "Coordinates", key, -999);
  }

  // A mouse event at a screen position, as the box would receive it there.
  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
             const QPoint& global) {
    QMouseEvent event(type, QPointF(box_->mapFromGlobal(global)), QPointF(global), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(box_.get(), &event);
  }
  // Presses the left button at from, moves in steps to to and releases.
  void DragMouse(const QPoint& from, const QPoint& to) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    for (int i = 1; i <= 8; ++i) {
      Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, from + (to - from) * i / 8);
    }
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    Settle();
  }
  // The box's top-left corner plus an offset.
  QPoint At(int dx, int dy) const { return box_->pos() + QPoint(dx, dy); }

  // Right-clicks at global and runs act on the menu once it is open (from a
  // timer, as the menu runs its own event loop); false when no menu opened.
  // A menu that act leaves open is dismissed.
  bool RightClickWithMenu(const QPoint& global, const std::function<void(QMenu&)>& act) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr || seen) return;
      seen = true;
      act(*menu);
      if (menu->isVisible()) menu->close();
    });
    poll.start(5);
    QCursor::setPos(global);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, global);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, global);
    for (int i = 0; i < 5; ++i) Settle();
    return seen;
  }
  // Right-clicks on the box and chooses the item with this command id.
  void ChooseCommand(int id) {
    const bool opened = RightClickWithMenu(At(20, 20), [id](QMenu& menu) {
      for (QAction* action : menu.actions()) {
        if (action->data().toInt() != id) continue;
        menu.setActiveAction(action);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QCoreApplication::sendEvent(&menu, &enter);
        return;
      }
      ADD_FAILURE() << "no menu item for command " << id;
    });
    ASSERT_TRUE(opened) << "the menu did not open";
  }

  // Drags urls in and drops them: the action the drop was accepted with,
  // Qt::IgnoreAction when refused; entered_ tells whether the drag was taken
  // as it entered. The program handles the drop at the next Settle().
  Qt::DropAction DropUrls(const QList<QUrl>& urls,
                          Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box_.get(), &enter);
    entered_ = enter.isAccepted();
    if (!entered_) return Qt::IgnoreAction;
    QDropEvent drop(QPointF(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box_.get(), &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  }

  // Lets queued events run.
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  // Runs the event loop until the drops' work, on its own thread, has ended.
  static void SettleWork() {
    QElapsedTimer clock;
    clock.start();
    do {
      Settle();
      QThread::msleep(1);
    } while (DropActionRunning() && clock.elapsed() < 20000);
    Settle();
  }

  testing_support::TempFolder folder_;
  testing_support::ScopedEnv home_{"HOME", folder_ / "home"};
  testing_support::ScopedEnv config_{"XDG_CONFIG_HOME", folder_ / "config"};
  // Deletions to the Trash land in this test's folder, never the user's.
  testing_support::ScopedEnv data_{"XDG_DATA_HOME", folder_ / "data"};
  testing_support::ScriptedUi ui_;
  std::unique_ptr<DropBoxWidget> box_;
  int ended_ = 0;  // times the box said the program ends
  bool entered_ = false;
};
