// The program started over a settings file in a temporary folder, message
// boxes scripted, the clipboard captured, and events delivered to the box as
// the window system delivers them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QThread>
#include <QTimer>
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
  BoxTest() { testing_support::MakeFolder(folder_ / "program"); }
  ~BoxTest() override {
    box_.reset();
    Settle();
  }

  void WriteSettings(const std::string& coordinates, const std::string& options = "") {
    testing_support::WriteFile(SettingsPath(), "[Coordinates]\n" + coordinates + "[Options]\n" + options);
  }
  void Start() {
    box_ = StartDropBoxIn(folder_ / "program/", folder_ / "config/quorlith/");
    QObject::connect(box_.get(), &DropBoxWidget::ended, [this] { ++ended_; });
    Settle();
  }
  std::string SettingsPath() const { return folder_ / "program/Quorlith.ini"; }
  std::string SettingsBytes() const { return testing_support::ReadFile(SettingsPath()); }
  int FileNumber(const char* key) const { return ReadIniNumber(SettingsPath().c_str(), "Coordinates", key, -1); }
  static QUrl Url(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }
  QPoint At(int dx, int dy) const { return box_->pos() + QPoint(dx, dy); }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint global) {
    QMouseEvent event(type, QPointF(box_->mapFromGlobal(global)), QPointF(global), button, held, {});
    QCoreApplication::sendEvent(box_.get(), &event);
  }
  // Presses the left button at from, moves in steps to to and releases.
  void DragMouse(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    for (int i = 1; i <= 8; ++i) Mouse(QEvent::MouseMove, {}, Qt::LeftButton, from + (to - from) * i / 8);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {}, to);
    Settle();
  }
  // Right-clicks on the box and runs act on the menu once it is open (from a
  // timer, as the menu runs its own loop); false when no menu opened.
  bool RightClickWithMenu(const std::function<void(QMenu&)>& act) {
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
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, At(20, 20));
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, {}, At(20, 20));
    for (int i = 0; i < 5; ++i) Settle();
    return seen;
  }
  // Chooses the item with this command id from the menu with the keyboard.
  void ChooseCommand(int id) {
    ASSERT_TRUE(RightClickWithMenu([id](QMenu& menu) {
      for (QAction* action : menu.actions()) {
        if (action->data().toInt() == id) menu.setActiveAction(action);
      }
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
      QCoreApplication::sendEvent(&menu, &enter);
    }));
  }
  // Drags urls in and drops them: the action the drop was accepted with,
  // Qt::IgnoreAction when refused at the entry or the drop.
  Qt::DropAction DropUrls(const QList<QUrl>& urls, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(box_.get(), &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(QPointF(20, 20), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(box_.get(), &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  }
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  // Runs the event loop until the drops' work, on its own thread, has ended.
  static void SettleWork() {
    for (int i = 0; i < 20000 && DropActionRunning(); ++i) {
      Settle();
      QThread::msleep(1);
    }
    Settle();
  }

  testing_support::TempFolder folder_;
  testing_support::ScopedEnv home_{"HOME", folder_ / "home"};
  testing_support::ScopedEnv config_{"XDG_CONFIG_HOME", folder_ / "config"};
  testing_support::ScopedEnv data_{"XDG_DATA_HOME", folder_ / "data"};  // never the user's Trash
  testing_support::ScriptedUi ui_;
  std::unique_ptr<DropBoxWidget> box_;
  int ended_ = 0;
};
