#include "tests/qt/box_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include "app/qt/startup.h"
#include "settings/ini_file.h"

BoxTest::BoxTest() {
  testing_support::MakeFolder(folder_ / "program");
  // Qt trashes into the home Trash only for files on the home folder's file
  // system, and takes a missing home folder for another one: then files would
  // go to a .Trash-UID folder at the top of their own file system.
  testing_support::MakeFolder(folder_ / "home");
}

BoxTest::~BoxTest() {
  box_.reset();
  Settle();
}

void BoxTest::WriteSettings(const std::string& coordinates, const std::string& options) {
  testing_support::WriteFile(SettingsPath(),
                             "[Coordinates]\n" + coordinates + "[Options]\n" + options);
}

DropBoxWidget& BoxTest::Start() {
  box_ = StartDropBoxIn(folder_ / "program/", folder_ / "config/quorlith/");
  QObject::connect(box_.get(), &DropBoxWidget::ended, [this] { ++ended_; });
  Settle();
  return *box_;
}

std::string BoxTest::SettingsBytes() const { return testing_support::ReadFile(SettingsPath()); }

int BoxTest::FileNumber(const char* section, const char* key) const {
  return ReadIniNumber(SettingsPath().c_str(), section, key, -999);
}

void BoxTest::Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                    const QPoint& global) {
  const QPoint local = box_->mapFromGlobal(global);
  QMouseEvent event(type, QPointF(local), QPointF(global), button, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(box_.get(), &event);
}

void BoxTest::Click(Qt::MouseButton button, const QPoint& global) {
  QCursor::setPos(global);
  Mouse(QEvent::MouseButtonPress, button, button, global);
  Mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, global);
}

void BoxTest::DoubleClick(const QPoint& global) {
  // The order in which Qt delivers a double-click.
  Click(Qt::LeftButton, global);
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, global);
  Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, global);
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, global);
}

void BoxTest::DragMouse(const QPoint& from, const QPoint& to) {
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    const QPoint step = from + (to - from) * i / kSteps;
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, step);
  }
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
  Settle();
}

QPoint BoxTest::At(int dx, int dy) const { return box_->pos() + QPoint(dx, dy); }

bool BoxTest::RightClickWithMenu(const QPoint& global, const std::function<void(QMenu&)>& act) {
  bool seen = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || seen) return;
    seen = true;
    act(*menu);
    // Whatever act did, the menu must not stay open.
    if (menu->isVisible()) menu->close();
  });
  poll.start(5);
  Click(Qt::RightButton, global);
  // A menu that did not open would have been found by now.
  for (int i = 0; i < 5; ++i) Settle();
  poll.stop();
  return seen;
}

void PressKey(QWidget& widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(&widget, &press);
}

void BoxTest::ChooseCommand(int id) {
  const bool opened = RightClickWithMenu(At(20, 20), [id](QMenu& menu) {
    for (QAction* action : menu.actions()) {
      if (action->data().toInt() == id) {
        menu.setActiveAction(action);
        PressKey(menu, Qt::Key_Return, "\r");
        return;
      }
    }
    ADD_FAILURE() << "no menu item for command " << id;
  });
  ASSERT_TRUE(opened) << "the menu did not open";
}

bool BoxTest::DragEnters(const QList<QUrl>& urls, Qt::DropActions offered) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box_.get(), &enter);
  return enter.isAccepted();
}

Qt::DropAction BoxTest::DropUrls(const QList<QUrl>& urls, Qt::DropActions offered) {
  if (!DragEnters(urls, offered)) return Qt::IgnoreAction;
  QMimeData data;
  data.setUrls(urls);
  QDropEvent drop(QPointF(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box_.get(), &drop);
  Settle();
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

Qt::DropAction BoxTest::DropFiles(const std::vector<std::string>& paths) {
  QList<QUrl> urls;
  for (const std::string& path : paths) {
    urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
  return DropUrls(urls);
}

void BoxTest::Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}
